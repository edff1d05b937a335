// The stored pictures and the BMP decoding that turns them into bitmaps.

#include "ControlTest.h"
#include "TestMain.h"

#include <QLoggingCategory>
#include <QRandomGenerator>

#include <cstring>

using namespace ControlTest;

class TestPictures : public CControlTest {
    Q_OBJECT

private slots:
    void bmpDecodes_data();
    void bmpDecodes();
    void bmpRefused_data();
    void bmpRefused();
    void bmpTooLargeIsReportedOnce();
    void bmpSurvivesDamage();
    void bmpCopiesAreIndependent();
    void storedPictures();
};

void TestPictures::bmpDecodes_data() {
    QTest::addColumn<int>("nBits");
    QTest::addColumn<int>("nHeight");
    QTest::addColumn<int>("nColors");
    QTest::addColumn<int>("nColorsUsed");

    // Index 200 lies beyond a 16-entry table: read with 256 entries the pixels would start
    // 960 bytes too early.
    QTest::newRow("8-bit, colours used 0 means 256") << 8 << 5 << 256 << 0;
    QTest::newRow("8-bit, short colour table") << 8 << 5 << 16 << 16;
    QTest::newRow("8-bit, top-down") << 8 << -5 << 256 << 0;
    QTest::newRow("4-bit") << 4 << 5 << 16 << 0;
    QTest::newRow("1-bit") << 1 << 5 << 2 << 0;
    QTest::newRow("24-bit") << 24 << 5 << 0 << 0;
    QTest::newRow("32-bit") << 32 << 5 << 0 << 0;
}

void TestPictures::bmpDecodes() {
    QFETCH(int, nBits);
    QFETCH(int, nHeight);
    QFETCH(int, nColors);
    QFETCH(int, nColorsUsed);

    TestBmp::SLayout layout;
    layout.nWidth = 7; // odd widths exercise the row padding
    layout.nHeight = nHeight;
    layout.nBits = nBits;
    layout.nColors = nColors;
    layout.nColorsUsed = quint32(nColorsUsed);
    const int nIndices = nColors > 0 ? nColors : 256;
    layout.pixel = [&](int x, int y) -> quint32 {
        if (nBits > 8)
            return qRgb(x * 30, y * 40, 200 - x * y);
        return quint32((x * 5 + y * 3 + (nIndices > 16 ? 190 : 0)) % nIndices);
    };

    CMessageRecorder messages;
    const QImage image = CreateBitmapFromBmp(TestBmp::Make(layout));
    QCOMPARE(image, TestBmp::Expected(layout));
    QVERIFY(messages.m_messages.isEmpty());
}

void TestPictures::bmpRefused_data() {
    QTest::addColumn<QByteArray>("bmp");

    TestBmp::SLayout good;
    good.nWidth = 4;
    good.nHeight = 3;
    const QByteArray valid = TestBmp::Make(good);
    const auto With = [&](auto change) {
        TestBmp::SLayout layout = good;
        change(layout);
        return TestBmp::Make(layout);
    };
    const auto Patched = [&](int nOffset, quint32 nValue) {
        QByteArray bmp = valid;
        for (int i = 0; i < 4; ++i)
            bmp[nOffset + i] = char(nValue >> (8 * i));
        return bmp;
    };

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not BM") << QByteArray(valid).replace(0, 2, "MB");
    QTest::newRow("header cut") << valid.left(14 + 39);
    QTest::newRow("last pixel byte cut") << valid.chopped(1);
    QTest::newRow("colour table cut") << valid.left(14 + 40 + 100);
    QTest::newRow("huge dimensions")
        << Patched(18, 0x7fffffff).replace(22, 4, "\xff\xff\xff\x7f", 4);
    QTest::newRow("huge colour count") << Patched(46, 0xffffffff);
    QTest::newRow("width 0") << Patched(18, 0);
    QTest::newRow("negative width") << Patched(18, quint32(-4));
    QTest::newRow("height 0") << Patched(22, 0);
    QTest::newRow("most negative height") << Patched(22, 0x80000000);
    QTest::newRow("16-bit") << With([](TestBmp::SLayout& s) { s.nBits = 16; });
    QTest::newRow("run-length coded") << With([](TestBmp::SLayout& s) { s.nCompression = 1; });
    QTest::newRow("bit fields") << With([](TestBmp::SLayout& s) {
        s.nBits = 32;
        s.nCompression = 3;
    });
    QTest::newRow("core header") << With([](TestBmp::SLayout& s) { s.nHeaderSize = 12; });
}

void TestPictures::bmpRefused() {
    QFETCH(QByteArray, bmp);
    CMessageRecorder messages;
    // A copy of exactly the given length, so that reading past it is caught by sanitizers.
    const auto pCopy = std::make_unique<uchar[]>(size_t(bmp.size()) + 1);
    std::memcpy(pCopy.get(), bmp.constData(), size_t(bmp.size()));
    QVERIFY(CreateBitmapFromBmp(pCopy.get(), bmp.size()).isNull());
    QVERIFY(messages.m_messages.isEmpty());
}

void TestPictures::bmpTooLargeIsReportedOnce() {
    // Well-formed, but far larger than any panel: treated as a bitmap the system cannot make.
    TestBmp::SLayout layout;
    layout.nWidth = 8192;
    layout.nHeight = 8193;
    layout.nBits = 1;
    layout.nColors = 2;
    CMessageRecorder messages;
    QVERIFY(CreateBitmapFromBmp(TestBmp::Make(layout)).isNull());
    QCOMPARE(messages.m_messages.size(), 1);
    QCOMPARE(messages.m_messages[0].sText, QStringLiteral("Close last opened window"));
    QCOMPARE(messages.m_messages[0].eButtons, QuenleyMessage::EButtons::Ok);
    QVERIFY(CreateBitmapFromBmp(nullptr, 100).isNull());
    QCOMPARE(messages.m_messages.size(), 1);
}

void TestPictures::bmpSurvivesDamage() {
    // Random damage to a valid image must give a null or a correctly sized bitmap, never a
    // read outside the buffer (run under a sanitizer to see those).
    TestBmp::SLayout layout;
    layout.nWidth = 9;
    layout.nHeight = 4;
    layout.pixel = [](int x, int y) { return quint32(x + 16 * y); };
    const QByteArray valid = TestBmp::Make(layout);
    QRandomGenerator random(20261207);
    CMessageRecorder messages;
    QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
    for (int nRound = 0; nRound < 3000; ++nRound) {
        QByteArray bmp = valid;
        const int nHits = 1 + int(random.bounded(4));
        for (int i = 0; i < nHits; ++i)
            bmp[int(random.bounded(54))] = char(random.bounded(256));
        bmp.truncate(int(random.bounded(bmp.size() + 1)));
        const auto pCopy = std::make_unique<uchar[]>(size_t(bmp.size()) + 1);
        std::memcpy(pCopy.get(), bmp.constData(), size_t(bmp.size()));
        const QImage image = CreateBitmapFromBmp(pCopy.get(), bmp.size());
        if (!image.isNull())
            QVERIFY(qint64(image.width()) * image.height() <= bmp.size() * 8);
    }
    QLoggingCategory::setFilterRules(QString());
}

void TestPictures::bmpCopiesAreIndependent() {
    // Two bitmaps of one picture: a fader composing inside its own leaves the other alone, and
    // so does one handed an image the caller still holds.
    const QImage first = kPanelFader.Strip();
    const QImage second = kPanelFader.Strip();
    const QImage untouched = first.copy();
    CDFader fader;
    QVERIFY(fader.Create(m_pView.get(), kAnyId, first, 0, 0, kPanelFader.nCap, false));
    fader.grab();
    QVERIFY(fader.GetBitmap() != untouched); // its work area holds the composition
    QCOMPARE(first, untouched);
    QCOMPARE(second, untouched);
}

void TestPictures::storedPictures() {
    if (StoredBmp(EPicture::Knob).isEmpty())
        QSKIP("the pictures are not linked in");
    int nIndex = 0;
    for (const SPicture& picture : AllPictures()) {
        QCOMPARE(int(picture.ePicture), nIndex++); // Picture() looks them up by position
        QCOMPARE(&Picture(picture.ePicture), &picture);
        const QImage image = CreateBitmap(picture.ePicture);
        QVERIFY2(!image.isNull(), picture.pszName);
        QCOMPARE(image.size(), QSize(picture.nWidth, picture.nHeight));
    }
}

QUENLEY_REGISTER_TEST(TestPictures)
#include "tst_pictures.moc"
