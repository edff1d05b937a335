// The stored pictures as the controls and views receive them: the BMP layout they are parsed
// with, the one shared colour table, the font rules the LCD relies on, and the panel areas the
// controls paint over.

#include "PanelTables.h"

#include <QColor>
#include <QFile>
#include <QtEndian>
#include <QtMath>
#include <QtTest>

#include <algorithm>

using namespace Panels;

namespace {

QRect ControlRect(const SPanel& panel, const SControl& c) {
    const SSize size = ControlSize(c, panel.nLcdGap);
    return {c.x, c.y, size.nWidth, size.nHeight};
}

constexpr QRgb kLcdBack = 0xffe7e7d6; // RGB(231,231,214)
constexpr QRgb kFontBack = 0xffd7d7d7;
constexpr QRgb kFontInk = 0xff040404;

// One stored picture, read with nothing but the byte layout the program relies on.
struct Bmp {
    QByteArray bytes;

    quint32 u32(int at) const { return qFromLittleEndian<quint32>(bytes.constData() + at); }
    quint16 u16(int at) const { return qFromLittleEndian<quint16>(bytes.constData() + at); }
    int width() const { return int(u32(18)); }
    int height() const { return int(qint32(u32(22))); }
    int stride() const { return (width() + 3) & ~3; }
    QRgb color(int index) const {
        const char* e = bytes.constData() + 54 + 4 * index;
        return qRgb(uchar(e[2]), uchar(e[1]), uchar(e[0]));
    }
    QList<QRgb> table() const {
        QList<QRgb> t;
        for (int i = 0; i < 256; ++i)
            t.append(color(i));
        return t;
    }
    // Rows are stored bottom-up; (x, y) counts from the top left as the picture is shown.
    QRgb pixel(int x, int y) const {
        return color(uchar(bytes.at(int(u32(10)) + (height() - 1 - y) * stride() + x)));
    }
};

Bmp load(const QString& name) {
    QFile file(QStringLiteral(":/art/%1.bmp").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return {file.readAll()};
}

QString rgbText(QRgb c) {
    return QStringLiteral("RGB(%1,%2,%3)").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// The first pixel of `r` in `bmp` that is not `expected`, as text; empty if there is none.
QString firstMismatch(const Bmp& bmp, const QRect& r, QRgb expected) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (bmp.pixel(x, y) != expected)
                return QStringLiteral("%1 at %2,%3").arg(rgbText(bmp.pixel(x, y))).arg(x).arg(y);
    return {};
}

struct PictureSize {
    const char* name;
    int width;
    int height;
};

// The pictures that are not panels; the panels' sizes are those of their tables.
constexpr PictureSize kOtherPictures[] = {
    {"background", 300, 300}, {"about", 407, 270},   {"led", 26, 13},      {"lcdfont", 480, 9},
    {"knob", 1159, 19},       {"fader", 20, 329},    {"toolbar", 480, 15}, {"viewicons", 384, 32},
    {"appicon", 32, 32},      {"appicon16", 16, 16},
};

QList<PictureSize> AllPictures() {
    QList<PictureSize> all;
    for (const SPanel& panel : Panels::AllPanels())
        all.append({panel.pszName, panel.nWidth, panel.nHeight});
    for (const PictureSize& p : kOtherPictures)
        all.append(p);
    return all;
}

// The ground of the icons, which the program shows transparent.
constexpr QRgb kIconGround = 0xffc0c0c0;
constexpr int kButtons = 30;
constexpr QSize kButton(16, 15);

} // namespace

class TestArt : public QObject {
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void header_data();
    void header();
    void sharedColourTable();
    void fontRule_data();
    void fontRule();
    void fontColours();
    void lcdArea_data();
    void lcdArea();
    void knobPointer_data();
    void knobPointer();
    void ledLamp();
    void iconGround();
    void viewIconMotifs();
    void desktopIcons_data();
    void desktopIcons();
};

void TestArt::layout_data() {
    QTest::addColumn<int>("panel");
    for (const SPanel& panel : AllPanels())
        QTest::newRow(panel.pszName) << int(panel.ePanel);
}

// The picture is the size its table gives, and it fits the controls the views put on it.
void TestArt::layout() {
    QFETCH(int, panel);
    const SPanel& table = Panel(EPanel(panel));
    const Bmp bmp = load(QString::fromLatin1(table.pszName));
    QCOMPARE(bmp.width(), table.nWidth);
    QCOMPARE(bmp.height(), table.nHeight);
    // Knobs and lamps have square pictures; the panel under their corners must be the colour
    // their corners show, or a box appears around them.
    const QRgb plate = load(QStringLiteral("knob")).pixel(0, 0);
    for (const SControl& c : table.controls) {
        if (c.eKind != EKind::Knob && c.eKind != EKind::Led)
            continue;
        const QRect r = ControlRect(table, c);
        for (const QPoint corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            QVERIFY2(bmp.pixel(corner.x(), corner.y()) == plate,
                     qPrintable(QStringLiteral("control %1 corner %2,%3")
                                    .arg(c.nId)
                                    .arg(corner.x())
                                    .arg(corner.y())));
    }
}

void TestArt::header_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    for (const PictureSize& p : AllPictures())
        QTest::newRow(p.name) << QString::fromLatin1(p.name) << p.width << p.height;
}

void TestArt::header() {
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    const Bmp bmp = load(name);
    QVERIFY2(bmp.bytes.size() > 1078, "missing from the resource or truncated");
    QCOMPARE(bmp.bytes.left(2), QByteArray("BM"));
    QCOMPARE(bmp.u32(2), quint32(bmp.bytes.size()));
    QCOMPARE(bmp.u32(6), 0u); // reserved words
    QCOMPARE(bmp.u32(10), 1078u);
    QCOMPARE(bmp.u32(14), 40u);
    QCOMPARE(bmp.width(), width);
    QCOMPARE(bmp.height(), height); // positive: bottom-up
    QCOMPARE(bmp.u16(26), quint16(1));
    QCOMPARE(bmp.u16(28), quint16(8));
    QCOMPARE(bmp.u32(30), 0u); // BI_RGB
    QCOMPARE(bmp.u32(46), 0u); // colours used: all 256
    QCOMPARE(bmp.bytes.size(), 1078 + bmp.stride() * height);
    for (int i = 0; i < 256; ++i)
        QCOMPARE(bmp.bytes.at(54 + 4 * i + 3), '\0');
}

void TestArt::sharedColourTable() {
    const QList<QRgb> table = load(QStringLiteral("kick")).table();
    for (const PictureSize& p : AllPictures())
        QVERIFY2(load(QString::fromLatin1(p.name)).table() == table, p.name);
    for (const QRgb required :
         {kLcdBack, kFontBack, kFontInk, qRgb(204, 204, 204), qRgb(255, 255, 255)})
        QVERIFY2(table.contains(required), qPrintable(rgbText(required)));
}

void TestArt::fontRule_data() {
    QTest::addColumn<int>("glyph");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<QRgb>("color");
    QTest::newRow("space is blank") << 0 << 0 << 8 << kFontBack;
    QTest::newRow("'!' erases the cursor") << 1 << 7 << 8 << kFontBack;
    QTest::newRow("'_' draws the cursor") << 63 << 8 << 8 << kFontInk;
    QTest::newRow("digits leave the cursor rows free") << 16 << 7 << 8 << kFontBack;
}

void TestArt::fontRule() {
    QFETCH(int, glyph);
    QFETCH(int, firstRow);
    QFETCH(int, lastRow);
    QFETCH(QRgb, color);
    const Bmp font = load(QStringLiteral("lcdfont"));
    const QRect rows(glyph * kGlyphWidth, firstRow, kGlyphWidth, lastRow - firstRow + 1);
    const QString wrong = firstMismatch(font, rows, color);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

// Lit dots, cell background and light greys only: the LCD's cells must read as one display.
void TestArt::fontColours() {
    const Bmp font = load(QStringLiteral("lcdfont"));
    for (int y = 0; y < font.height(); ++y)
        for (int x = 0; x < font.width(); ++x) {
            const QRgb c = font.pixel(x, y);
            const bool lightGrey = qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= 204;
            QVERIFY2(c == kFontInk || lightGrey, qPrintable(rgbText(c)));
        }
    // Every printable character has at least one dot.
    for (int g = 1; g < 95; ++g)
        QVERIFY2(
            !firstMismatch(font, QRect(g * kGlyphWidth, 0, kGlyphWidth, kGlyphHeight), kFontBack)
                 .isEmpty(),
            qPrintable(QStringLiteral("glyph %1 is empty").arg(g)));
}

void TestArt::lcdArea_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<int>("gap");
    for (const SPanel& panel : AllPanels())
        for (const SControl& c : panel.controls)
            if (c.eKind == EKind::Lcd)
                QTest::addRow("%s %u", panel.pszName, c.nId)
                    << QString::fromLatin1(panel.pszName) << ControlRect(panel, c) << panel.nLcdGap;
}

// The LCD fills its gaps with RGB(231,231,214) itself; the panel must show the same colour
// there and under the cells, or the control shows a seam.
void TestArt::lcdArea() {
    QFETCH(QString, panel);
    QFETCH(QRect, area);
    QFETCH(int, gap);
    const Bmp bmp = load(panel);
    for (int x = area.left() + kGlyphWidth; x < area.right(); x += kGlyphWidth + gap) {
        const QString wrong =
            firstMismatch(bmp, QRect(x, area.top(), gap, area.height()), kLcdBack);
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("gap: ") + wrong));
    }
    const QString wrong = firstMismatch(bmp, area, kLcdBack);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestArt::knobPointer_data() {
    QTest::addColumn<int>("frame");
    QTest::addColumn<double>("degrees");
    QTest::newRow("lowest, seven o'clock") << 0 << -150.0;
    QTest::newRow("nine o'clock") << 12 << -90.0;
    QTest::newRow("middle, twelve o'clock") << 30 << 0.0;
    QTest::newRow("three o'clock") << 48 << 90.0;
    QTest::newRow("highest, five o'clock") << 60 << 150.0;
}

// The pointer is the brightest part of a frame; its centroid gives the direction it shows.
void TestArt::knobPointer() {
    QFETCH(int, frame);
    QFETCH(double, degrees);
    const Bmp knob = load(QStringLiteral("knob"));
    double sx = 0;
    double sy = 0;
    int n = 0;
    for (int y = 0; y < kKnobSize; ++y)
        for (int x = 0; x < kKnobSize; ++x)
            if (qGray(knob.pixel(frame * kKnobSize + x, y)) > 220) {
                sx += x - 9.0;
                sy += y - 9.0;
                ++n;
            }
    QVERIFY(n > 3);
    const double shown = qRadiansToDegrees(std::atan2(sx, -sy));
    QVERIFY2(std::abs(shown - degrees) < 8.0, qPrintable(QString::number(shown)));
}

// The lit lamp is redder and brighter, and both frames sit on the same panel colour as the
// knob, so neither shows a box around it.
void TestArt::ledLamp() {
    const Bmp led = load(QStringLiteral("led"));
    const Bmp knob = load(QStringLiteral("knob"));
    const QRgb off = led.pixel(6, 6);
    const QRgb on = led.pixel(kLedSize + 6, 6);
    QVERIFY(qRed(on) > qRed(off) + 60);
    QVERIFY(qRed(on) > qGreen(on) && qRed(on) > qBlue(on));
    QCOMPARE(led.pixel(0, 0), knob.pixel(0, 0));
    QCOMPARE(led.pixel(kLedSize, kLedSize - 1), knob.pixel(0, 0));
    QCOMPARE(load(QStringLiteral("fader")).pixel(kFaderWidth / 2, 0), knob.pixel(0, 0));
}

// Every button and icon shows something on a ground it does not use elsewhere: the ground runs
// around the picture's edge somewhere, and no picture is all ground or all art.
void TestArt::iconGround() {
    struct SStrip {
        const char* pszName;
        QSize frame;
        int nFrames;
    };
    for (const SStrip& strip :
         {SStrip{"toolbar", kButton, kButtons}, SStrip{"viewicons", {32, 32}, 12},
          SStrip{"appicon", {32, 32}, 1}, SStrip{"appicon16", {16, 16}, 1}}) {
        const Bmp bmp = load(QString::fromLatin1(strip.pszName));
        QCOMPARE(bmp.width(), strip.frame.width() * strip.nFrames);
        for (int f = 0; f < strip.nFrames; ++f) {
            const QRect r(f * strip.frame.width(), 0, strip.frame.width(), strip.frame.height());
            int nGround = 0;
            int nEdgeGround = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const bool bGround = bmp.pixel(x, y) == kIconGround;
                    nGround += bGround;
                    const bool bEdge =
                        x == r.left() || x == r.right() || y == r.top() || y == r.bottom();
                    nEdgeGround += bGround && bEdge;
                }
            const QByteArray what = QByteArray(strip.pszName) + ' ' + QByteArray::number(f);
            QVERIFY2(nEdgeGround > 0, what);
            QVERIFY2(nGround < r.width() * r.height() * 3 / 4, what + ": hardly any art");
            QVERIFY2(nGround > r.width() * r.height() / 10, what + ": hardly any ground");
        }
    }
}

// Window icon n is the toolbar motif of its view doubled: every 2 x 2 block keeps the colour of
// its source pixel in at least one corner. A frame out of order fails at once.
void TestArt::viewIconMotifs() {
    const Bmp buttons = load(QStringLiteral("toolbar"));
    const Bmp icons = load(QStringLiteral("viewicons"));
    constexpr int kFirstViewButton = 6; // Kit-Info; then Kit, Kick, ... LFOs
    for (int n = 0; n < 12; ++n)
        for (int y = 0; y < kButton.height(); ++y)
            for (int x = 0; x < kButton.width(); ++x) {
                const QRgb source = buttons.pixel((kFirstViewButton + n) * kButton.width() + x, y);
                bool bKept = false;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        bKept = bKept || icons.pixel(n * 32 + 2 * x + dx, 2 * y + dy) == source;
                QVERIFY2(bKept,
                         qPrintable(QStringLiteral("view %1 at %2,%3").arg(n).arg(x).arg(y)));
            }
    // The row below the 15-row motif stays ground.
    for (int x = 0; x < icons.width(); ++x)
        QCOMPARE(icons.pixel(x, 31), kIconGround);
}

void TestArt::desktopIcons_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("source");
    QTest::newRow("48") << 48 << QStringLiteral("appicon16");
    QTest::newRow("64") << 64 << QStringLiteral("appicon");
    QTest::newRow("128") << 128 << QStringLiteral("appicon");
    QTest::newRow("256") << 256 << QStringLiteral("appicon");
}

// The PNG files for the desktop are the application icon with every pixel a square block and
// its ground transparent.
void TestArt::desktopIcons() {
    QFETCH(int, size);
    QFETCH(QString, source);
    const QImage png(QStringLiteral(QUENLEY_ART_DIR "/icons/%1.png").arg(size));
    QVERIFY2(!png.isNull(), "missing");
    QCOMPARE(png.size(), QSize(size, size));
    QVERIFY(png.hasAlphaChannel());
    const Bmp icon = load(source);
    const int nScale = size / icon.width();
    QCOMPARE(icon.width() * nScale, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const QRgb stored = icon.pixel(x / nScale, y / nScale);
            const QRgb shown = png.pixel(x, y);
            if (stored == kIconGround)
                QVERIFY2(qAlpha(shown) == 0, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            else
                QVERIFY2(shown == (stored | 0xff000000u),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

QTEST_GUILESS_MAIN(TestArt)
#include "tst_art.moc"
