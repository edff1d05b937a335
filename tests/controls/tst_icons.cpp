// The toolbar, view and application icons.

#include "ArtIcons.h"
#include "ControlTest.h"
#include "TestMain.h"

#include <QSet>

using namespace ControlTest;

class TestIcons : public CControlTest {
    Q_OBJECT

private slots:
    void iconCrisp_data();
    void iconCrisp();
    void toolbarPictures();
    void viewIcons();
};

namespace {

// Frame nIndex of a stored strip as the icons must show it: the ground transparent.
QImage StoredFrame(EPicture ePicture, int nIndex, QSize size) {
    QImage frame = CreateBitmap(ePicture)
                       .copy(nIndex * size.width(), 0, size.width(), size.height())
                       .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (frame.pixel(x, y) == ArtIcons::kGround)
                frame.setPixel(x, y, qRgba(0, 0, 0, 0));
    return frame;
}

QImage Squared16(const QImage& button) {
    QImage square(16, 16, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    for (int y = 0; y < button.height(); ++y)
        for (int x = 0; x < button.width(); ++x)
            square.setPixel(x, y, button.pixel(x, y));
    return square;
}

QImage Shown(const QIcon& icon, QSize size, qreal dRatio = 1) {
    return icon.pixmap(size, dRatio).toImage().convertToFormat(QImage::Format_ARGB32);
}

constexpr QSize kButtonSize(kToolbarButtonWidth, kToolbarButtonHeight);

} // namespace

void TestIcons::iconCrisp_data() {
    QTest::addColumn<QIcon>("icon");
    QTest::addColumn<QImage>("original");
    QTest::addColumn<int>("nRatio");
    if (StoredBmp(EPicture::Toolbar).isEmpty())
        QSKIP("the pictures are not linked in");
    for (const int nRatio : {1, 2, 3}) {
        for (int b = 0; b < kToolbarButtons; ++b)
            QTest::addRow("button %d at %d", b, nRatio)
                << ArtIcons::ToolbarIcon(ArtIcons::EButton(b))
                << StoredFrame(EPicture::Toolbar, b, kButtonSize) << nRatio;
        for (int nType = 1; nType <= kViewIconCount; ++nType) {
            const QImage big = StoredFrame(EPicture::ViewIcons, nType - 1, {32, 32});
            QTest::addRow("view %d at %d", nType, nRatio)
                << ArtIcons::ViewIcon(nType) << big << nRatio;
            QTest::addRow("view %d small at %d", nType, nRatio)
                << ArtIcons::ViewIcon(nType)
                << Squared16(StoredFrame(EPicture::Toolbar, nType + 5, kButtonSize)) << nRatio;
        }
        QTest::addRow("application at %d", nRatio)
            << ArtIcons::AppIcon() << StoredFrame(EPicture::AppIcon, 0, {32, 32}) << nRatio;
        QTest::addRow("application small at %d", nRatio)
            << ArtIcons::AppIcon() << StoredFrame(EPicture::AppIconSmall, 0, {16, 16}) << nRatio;
    }
}

// Asked for the picture's own size at a device pixel ratio, an icon hands out the picture with
// each pixel a uniform square block: no blended colour, nothing Qt interpolated.
void TestIcons::iconCrisp() {
    QFETCH(QIcon, icon);
    QFETCH(QImage, original);
    QFETCH(int, nRatio);
    QVERIFY(!original.isNull());
    const QPixmap pixmap = icon.pixmap(original.size(), nRatio);
    QCOMPARE(pixmap.devicePixelRatio(), qreal(nRatio));
    const QImage shown = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(shown.size(), original.size() * nRatio);
    QSet<QRgb> colours;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x)
            colours.insert(original.pixel(x, y));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb c = shown.pixel(x, y);
            QVERIFY2(colours.contains(c), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            QVERIFY2(c == shown.pixel(x - x % nRatio, y - y % nRatio),
                     qPrintable(QStringLiteral("block at %1,%2 not uniform").arg(x).arg(y)));
            QVERIFY2(c == original.pixel(x / nRatio, y / nRatio),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

// Every button has a picture of its own on a transparent ground; Activate shows a lit lamp and
// Deactivate a dark one, so the two cannot be told apart only by their place.
void TestIcons::toolbarPictures() {
    if (StoredBmp(EPicture::Toolbar).isEmpty())
        QSKIP("the pictures are not linked in");
    QList<QImage> pictures;
    for (int b = 0; b < kToolbarButtons; ++b) {
        const QImage picture = ArtIcons::ButtonPicture(ArtIcons::EButton(b));
        QCOMPARE(picture, StoredFrame(EPicture::Toolbar, b, kButtonSize));
        int nOpaque = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                nOpaque += qAlpha(picture.pixel(x, y)) == 255 ? 1 : 0;
        QVERIFY2(nOpaque >= 40 && nOpaque < picture.width() * picture.height(),
                 qPrintable(QString::number(b)));
        QVERIFY2(!pictures.contains(picture), qPrintable(QStringLiteral("%1 repeats").arg(b)));
        pictures.append(picture);
    }
    const auto LitPixels = [](const QImage& picture) {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += picture.pixel(x, y) == qRgb(255, 46, 28) ? 1 : 0;
        return n;
    };
    QVERIFY(LitPixels(ArtIcons::ButtonPicture(ArtIcons::EButton::Activate)) >= 4);
    QCOMPARE(LitPixels(ArtIcons::ButtonPicture(ArtIcons::EButton::Deactivate)), 0);
}

// A window icon per view type, each its own; other numbers get the application icon.
void TestIcons::viewIcons() {
    if (StoredBmp(EPicture::ViewIcons).isEmpty())
        QSKIP("the pictures are not linked in");
    QList<QImage> shown;
    for (int nType = 1; nType <= kViewIconCount; ++nType) {
        const QImage big = Shown(ArtIcons::ViewIcon(nType), {32, 32});
        QCOMPARE(big, StoredFrame(EPicture::ViewIcons, nType - 1, {32, 32}));
        QVERIFY2(!shown.contains(big), qPrintable(QString::number(nType)));
        shown.append(big);
    }
    // The small picture of a view is its toolbar button: kick for view type 3.
    QCOMPARE(Shown(ArtIcons::ViewIcon(3), {16, 16}),
             Squared16(ArtIcons::ButtonPicture(ArtIcons::EButton::Kick)));
    QCOMPARE(Shown(ArtIcons::ViewIcon(1), {16, 16}),
             Squared16(ArtIcons::ButtonPicture(ArtIcons::EButton::KitInfo)));
    const QImage app = Shown(ArtIcons::AppIcon(), {32, 32});
    QCOMPARE(app, StoredFrame(EPicture::AppIcon, 0, {32, 32}));
    QVERIFY(!shown.contains(app));
    for (const int nOther : {0, 13, -1, 256})
        QCOMPARE(Shown(ArtIcons::ViewIcon(nOther), {32, 32}), app);
}

QUENLEY_REGISTER_TEST(TestIcons)
#include "tst_icons.moc"
