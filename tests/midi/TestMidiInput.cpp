#include "CMidiInput.h"
#include "CScriptedMidiInDriver.h"
#include "CSysExAssembler.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <thread>

namespace {

QList<QByteArray> Hex(const QStringList& list) {
    QList<QByteArray> bytes;
    for (const QString& str : list)
        bytes << QByteArray::fromHex(str.toLatin1());
    return bytes;
}

} // namespace

// Whole System Exclusive messages out of bytes as back ends deliver them.
class TestSysExAssembler : public QObject {
    Q_OBJECT

private slots:
    void messagesComeOutWhole_data() {
        QTest::addColumn<QStringList>("deliveries");
        QTest::addColumn<int>("nLimit");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("nOther");
        QTest::addColumn<int>("nBroken");
        const int n = int(CSysExAssembler::kDefaultLimit);
        QTest::newRow("split in pieces")
            << QStringList{"F00102", "03", "04F7"} << n << QStringList{"F001020304F7"} << 0 << 0;
        QTest::newRow("several in one delivery")
            << QStringList{"F001F7F00203F7F0"} << n << QStringList{"F001F7", "F00203F7"} << 0 << 1;
        QTest::newRow("real-time bytes between and inside")
            << QStringList{"F8F001FE", "F802FAF7FC"} << n << QStringList{"F00102F7"} << 0 << 0;
        QTest::newRow("cut short by another message")
            << QStringList{"F00102903C40", "F005F7"} << n << QStringList{"F005F7"} << 1 << 1;
        QTest::newRow("cut short by a new beginning")
            << QStringList{"F001F002F7"} << n << QStringList{"F002F7"} << 0 << 1;
        QTest::newRow("stray data and an end without a beginning")
            << QStringList{"0102F7", "F003F7"} << n << QStringList{"F003F7"} << 0 << 0;
        QTest::newRow("other messages only counted")
            << QStringList{"903C40803C00", "C005"} << n << QStringList{} << 3 << 0;
        QTest::newRow("at the limit and over it")
            << QStringList{"F00102F7", "F0010203F7", "F004F7"} << 4
            << QStringList{"F00102F7", "F004F7"} << 0 << 1;
        QTest::newRow("over the limit, cut short")
            << QStringList{"F001020304", "05C001"} << 4 << QStringList{} << 1 << 1;
    }
    void messagesComeOutWhole() {
        QFETCH(QStringList, deliveries);
        QFETCH(int, nLimit);
        QFETCH(QStringList, messages);
        QFETCH(int, nOther);
        QFETCH(int, nBroken);
        // As given, and once more a byte at a time: where the pieces fall changes nothing.
        for (const bool bByByte : {false, true}) {
            QList<QByteArray> out;
            CSysExAssembler assembler(
                [&out](const std::uint8_t* p, std::size_t n) {
                    out << QByteArray(reinterpret_cast<const char*>(p), qsizetype(n));
                },
                std::size_t(nLimit));
            for (const QByteArray& delivery : Hex(deliveries)) {
                const auto* p = reinterpret_cast<const std::uint8_t*>(delivery.constData());
                if (bByByte)
                    for (qsizetype i = 0; i < delivery.size(); ++i)
                        assembler.Feed(p + i, 1);
                else
                    assembler.Feed(p, std::size_t(delivery.size()));
            }
            // The input closing: a message begun and not ended is lost.
            assembler.Reset();
            QCOMPARE(out, Hex(messages));
            QCOMPARE(assembler.OtherMessages(), nOther);
            QCOMPARE(assembler.BrokenMessages(), nBroken);
        }
    }
};

// The editor's input over the scripted driver: what another thread plays arrives on the
// owner's thread whole and in order, and a device that goes is reported once.
class TestMidiInput : public QObject {
    Q_OBJECT

private slots:
    void playedFromAnotherThread_data() {
        QTest::addColumn<int>("nPiece"); // bytes per delivery
        QTest::newRow("a byte at a time") << 1;
        QTest::newRow("pieces across messages") << 7;
        QTest::newRow("all at once") << 100000;
    }
    void playedFromAnotherThread() {
        QFETCH(int, nPiece);
        auto pScript = std::make_shared<CMidiInScript>();
        CMidiInput input(std::make_unique<CScriptedMidiInDriver>(pScript));
        QVERIFY(input.Open(QStringLiteral("Scripted In B")));
        QList<QByteArray> expected;
        QByteArray stream;
        for (int i = 0; i < 300; ++i) {
            expected << QByteArray::fromHex("F0313E56") + QByteArray(i % 40, char(i % 128)) +
                            QByteArray::fromHex("F7");
            stream += expected.back() + (i % 50 == 0 ? QByteArray::fromHex("903C40FE") : "\xF8");
        }
        QList<QByteArray> received;
        bool bOwnerThread = true;
        connect(&input, &CMidiInput::SysExReceived, this, [&](const QByteArray& message) {
            bOwnerThread = bOwnerThread && QThread::currentThread() == thread();
            received << message;
        });
        std::thread player([&] {
            for (qsizetype i = 0; i < stream.size(); i += nPiece)
                pScript->Play(stream.mid(i, nPiece));
        });
        player.join();
        QTRY_COMPARE(received.size(), expected.size());
        QCOMPARE(received, expected);
        QVERIFY(bOwnerThread);
        QCOMPARE(input.BytesReceived(), qint64(stream.size()));
        QCOMPARE(input.OtherMessages(), 6);
        QCOMPARE(input.BrokenMessages(), 0);
    }

    void realTimeBytesAreNotActivity() {
        auto pScript = std::make_shared<CMidiInScript>();
        CMidiInput input(std::make_unique<CScriptedMidiInDriver>(pScript));
        QVERIFY(input.Open(QStringLiteral("Scripted In A")));
        QCOMPARE(input.MsSinceLastByte(), qint64(-1));
        QVERIFY(pScript->Play(QByteArray::fromHex("F001F7")));
        QTest::qWait(200);
        // A module keeps sending active sensing and clock; the quiet spell goes on regardless.
        QVERIFY(pScript->Play(QByteArray::fromHex("FEF8")));
        QVERIFY(input.MsSinceLastByte() >= 200);
    }

    void finishHandsOnWhatCameWhole() {
        auto pScript = std::make_shared<CMidiInScript>();
        CMidiInput input(std::make_unique<CScriptedMidiInDriver>(pScript));
        QVERIFY(input.Open(QStringLiteral("Scripted In A")));
        QSignalSpy received(&input, &CMidiInput::SysExReceived);
        QVERIFY(pScript->Play(QByteArray::fromHex("F001F7F00203F7F004")));
        input.Finish(); // before the event loop ran
        QCOMPARE(received.size(), 2);
        QVERIFY(!pScript->IsOpen());
        QCOMPARE(input.BrokenMessages(), 1);
    }

    void vanishedDeviceReportedOnceAndClosed() {
        auto pScript = std::make_shared<CMidiInScript>();
        CMidiInput input(std::make_unique<CScriptedMidiInDriver>(pScript));
        QVERIFY(input.Open(QStringLiteral("Scripted In A")));
        QSignalSpy gone(&input, &CMidiInput::DeviceGone);
        QSignalSpy received(&input, &CMidiInput::SysExReceived);
        QVERIFY(pScript->Play(QByteArray::fromHex("F001F7F00203")));
        QVERIFY(pScript->Vanish());
        QVERIFY(pScript->Vanish());
        QTRY_COMPARE(gone.size(), 1);
        QCOMPARE(gone.front().at(0).toString(), QStringLiteral("Scripted In A"));
        QCOMPARE(received.size(), 1); // what came whole before it went is kept
        QVERIFY(!input.IsOpen());
        QVERIFY(!pScript->IsOpen());
        QCOMPARE(input.BrokenMessages(), 1);
        QCoreApplication::processEvents();
        QCOMPARE(gone.size(), 1);
        // Opened again, it starts afresh.
        QVERIFY(input.Open(QStringLiteral("Scripted In A")));
        QCOMPARE(input.BrokenMessages(), 0);
        QCOMPARE(input.BytesReceived(), qint64(0));
    }
};

QUENLEY_REGISTER_TEST(TestSysExAssembler)
QUENLEY_REGISTER_TEST(TestMidiInput)
#include "TestMidiInput.moc"
