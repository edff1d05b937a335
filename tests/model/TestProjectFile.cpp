#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CQuenleyDoc.h"
#include "ModelTestUtil.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

namespace {
QByteArray ReadData(const char* pszName) {
    QFile file(QStringLiteral(QUENLEY_TEST_DATA_DIR "/model/") + QLatin1String(pszName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Word(quint16 n) {
    QByteArray b(2, 0);
    qToLittleEndian(n, b.data());
    return b;
}
QByteArray Dword(quint32 n) {
    QByteArray b(4, 0);
    qToLittleEndian(n, b.data());
    return b;
}
QByteArray NewClassTag(const QByteArray& name, quint16 nSchema = 1) {
    return Word(0xFFFF) + Word(nSchema) + Word(static_cast<quint16>(name.size())) + name;
}
// A kick variation's fields with every value v.
QByteArray KickFields(int nNumber, int v) {
    QByteArray b = Dword(0) + Dword(static_cast<quint32>(nNumber)) + QByteArray(16, 'k');
    for (int i = 0; i < 9; ++i)
        b += Dword(static_cast<quint32>(v));
    return b;
}
} // namespace

// Project files, byte for byte in both directions.
class TestProjectFile : public QObject {
    Q_OBJECT

private slots:
    void singleKickProject() {
        const QByteArray golden = ReadData("single-kick.qly");
        QCOMPARE(golden.size(), 75);
        CQuenleyDoc doc;
        CKick kick;
        doc.FindOrCreateVariation(&kick, 0);
        QCOMPARE(doc.SaveToBytes(), golden);

        CQuenleyDoc loaded;
        QVERIFY(loaded.LoadFromBytes(golden));
        QCOMPARE(loaded.GetSectionList().size(), size_t(1));
        const CSection& s = *loaded.GetSectionList().front();
        QCOMPARE(s.GetDisplayString(), QByteArray("Kick000 Untitled        "));
        QCOMPARE(s.GetParam(8), 255);
        QCOMPARE(s.GetName()[16], '\0');
        QCOMPARE(loaded.SaveToBytes(), golden);
    }

    void emptyProjectIsFourZeroBytes() {
        CQuenleyDoc doc;
        QCOMPARE(doc.SaveToBytes(), QByteArray(4, '\0'));
        QVERIFY(doc.LoadFromBytes(QByteArray(4, '\0')));
        QVERIFY(doc.GetSectionList().empty());
    }

    // Read a file made by hand: an active kit in bank 2 and two windows, then write it again.
    void kitAndWindowsGolden() {
        const QByteArray golden = ReadData("kit-and-windows.qly");
        QCOMPARE(golden.size(), 228);
        CQuenleyDoc doc;
        QVERIFY(doc.LoadFromBytes(golden));
        const CSection& kit = *doc.GetSectionList().front();
        QCOMPARE(kit.GetDisplayString(), QByteArray("Kit 001 Bank002 Drums 1 "));
        QVERIFY(kit.IsActive());
        QCOMPARE(kit.GetParam(8), 3);
        QCOMPARE(kit.GetParam(12), 255);
        QCOMPARE(kit.GetParam(18), 42);
        QCOMPARE(doc.GetWorkspaces().size(), size_t(2));
        const CWorkspace& w = *doc.GetWorkspaces().front();
        QCOMPARE(w.m_nViewType, 2);
        QCOMPARE(w.m_nNumber, 513);
        SWindowPlacement p;
        p.nFlags = 1;
        p.nShowCmd = 3;
        p.nMaxX = 20, p.nMaxY = 21, p.nMinX = 10, p.nMinY = 11;
        p.nLeft = 30, p.nTop = 31, p.nRight = 632, p.nBottom = 431;
        QCOMPARE(w.m_placement, p);
        QCOMPARE(doc.GetWorkspaces().back()->m_placement.nMinX, -32000);
        QCOMPARE(doc.SaveToBytes(), golden);
    }

    // One index counter runs over classes and objects alike.
    void classTagsShareOneCounter() {
        CQuenleyDoc doc;
        CKick kick;
        CLFOs lfos;
        doc.FindOrCreateVariation(&kick, 0);
        doc.FindOrCreateVariation(&kick, 1);
        doc.FindOrCreateVariation(&lfos, 0);
        const QByteArray bytes = doc.SaveToBytes();
        QCOMPARE(bytes.left(2), Word(3));
        QCOMPARE(bytes.mid(2, 11), NewClassTag("CLFOs"));
        const int nKick = 2 + 11 + 52;
        QCOMPARE(bytes.mid(nKick, 11), NewClassTag("CKick"));
        const int nSecond = nKick + 11 + 60;
        QCOMPARE(bytes.mid(nSecond, 2), Word(0x8003));
        QCOMPARE(bytes.mid(nSecond + 2 + 4, 4), Dword(1)); // the second kick's number
        QCOMPARE(bytes.size(), nSecond + 2 + 60 + 2);
    }

    // Many objects: the long count form, and the long class tag once a class first appears
    // after index 0x7FFE. Files of such size only come from elsewhere, but must survive; their
    // numbers beyond a kind's range are kept as they are.
    void longCountAndLongClassTag() {
        const int nKicks = 40000;
        QByteArray bytes = Word(nKicks + 2) + NewClassTag("CKick") + KickFields(0, 1);
        for (int i = 1; i < nKicks; ++i)
            bytes += Word(0x8001) + KickFields(i, 2);
        auto kit = [](quint32 nNumber) {
            return Dword(0) + Dword(nNumber) + QByteArray(8, 'n') + QByteArray(19 * 4, '\0');
        };
        // Classes and objects so far take 1 + nKicks indices, so CKit gets nKicks + 2.
        bytes += NewClassTag("CKit") + kit(0) + Word(0x7FFF) +
                 Dword(0x80000000u | (nKicks + 2)) + kit(1);
        bytes += Word(0);
        CQuenleyDoc doc;
        QVERIFY(doc.LoadFromBytes(bytes));
        QCOMPARE(doc.GetSectionList().size(), size_t(nKicks + 2));
        QCOMPARE(doc.SaveToBytes(), bytes);

        for (int i = 0; i < 0xFFFF; ++i)
            doc.Workspaces().push_back(std::make_unique<CWorkspace>(3, i, SWindowPlacement{}));
        const QByteArray withWindows = doc.SaveToBytes();
        QCOMPARE(withWindows.mid(bytes.size() - 2, 6), Word(0xFFFF) + Dword(0xFFFF));
        CQuenleyDoc again;
        QVERIFY(again.LoadFromBytes(withWindows));
        QCOMPARE(again.GetWorkspaces().size(), size_t(0xFFFF));
    }

    // Everything a project holds comes back: all kinds, changed values and names, marks,
    // numbers at both ends, window records; and it writes the same bytes again.
    void roundTripOfEveryKind() {
        CQuenleyDoc doc;
        int nSeed = 1;
        for (int k = Kinds::kFirstKind; k <= Kinds::kLastKind; ++k) {
            std::unique_ptr<CSection> templ(NewSectionOfKind(k));
            const int nLast = Kinds::kKinds[static_cast<size_t>(k)].nVariations - 1;
            for (int n : {nLast, 0, 17}) {
                CSection* p = doc.FindOrCreateVariation(templ.get(), n);
                for (int i = 0; i < p->GetParamCount(); ++i)
                    p->SetParam(i, (nSeed = nSeed * 73 % 257) % 256);
                p->SetName("Zz\x01\xFF");
                p->SetActive(n == 17);
            }
        }
        doc.Workspaces().push_back(std::make_unique<CWorkspace>(12, 255, SWindowPlacement{}));
        const QByteArray bytes = doc.SaveToBytes();
        CQuenleyDoc loaded;
        QVERIFY(loaded.LoadFromBytes(bytes));
        QCOMPARE(loaded.GetSectionList().size(), doc.GetSectionList().size());
        auto it = loaded.GetSectionList().begin();
        for (const auto& p : doc.GetSectionList()) {
            const CSection& q = **it++;
            QCOMPARE(q.GetKind(), p->GetKind());
            QCOMPARE(q.GetNumber(), p->GetNumber());
            QCOMPARE(q.IsActive(), p->IsActive());
            QCOMPARE(QByteArray(q.GetName()), QByteArray(p->GetName()));
            for (int i = 0; i <= p->GetParamCount(); ++i)
                QCOMPARE(q.GetParam(i), p->GetParam(i));
        }
        QCOMPARE(loaded.GetWorkspaces().front()->m_nViewType, 12);
        QCOMPARE(loaded.SaveToBytes(), bytes);
    }

    // Values are taken as stored; nothing built from them may break the MIDI stream, and a
    // number outside its kind's range sends nothing, since it would address another sound.
    void damagedValuesNeverLeaveSevenBits() {
        QByteArray bytes = Word(2) + NewClassTag("CKick") + Dword(7) + Dword(200) +
                           QByteArray(16, '\xFF');
        for (qint32 v : {-1, 256, 0x7FFFFFFF, -0x7FFFFFFF - 1, 128, 0, 1, 2, 3})
            bytes += Dword(static_cast<quint32>(v));
        bytes += Word(0x8001) + KickFields(0x80000001, 5) + Word(0);
        CQueueFixture queue(15);
        CQuenleyDoc doc(&queue.m_wnd);
        QVERIFY(doc.LoadFromBytes(bytes));
        CSection& s = *doc.FindVariationOfKind(Kinds::kKick, 200);
        QVERIFY(s.IsActive());
        QCOMPARE(s.GetParam(0), -1);
        // Its values would arrive as others, so the whole variation is not sent; the message
        // builders themselves still keep every byte within seven bits.
        QVERIFY(!s.SendAll());
        QCOMPARE(queue.Queued().size(), 0);
        std::int32_t values[9];
        for (int i = 0; i < 9; ++i)
            values[i] = s.GetParam(i);
        QVERIFY(s.SendBlock(values, 9));
        s.SendParam(2, 0xFF, 0xFF);
        s.SendAbsolute(-1, 0xFF, 0xFF);
        QCOMPARE(queue.Queued().size(), 3);
        for (const QByteArray& m : queue.Queued()) {
            QCOMPARE(m.front(), '\xF0');
            QCOMPARE(m.back(), '\xF7');
            for (qsizetype i = 1; i + 1 < m.size(); ++i)
                QVERIFY2(static_cast<quint8>(m[i]) < 0x80, m.toHex(' ').constData());
        }
        queue.Clear();
        // Sorted first: the number is negative as a signed one.
        CSection& stray = *doc.GetSectionList().front();
        QCOMPARE(stray.GetNumber(), -0x7FFFFFFF);
        QCOMPARE(stray.GetDisplayString().left(8), QByteArray("Kick??? "));
        QVERIFY(stray.SetParam(1, 6)); // still editable, but nothing goes out
        QCOMPARE(stray.GetParam(1), 6);
        QVERIFY(!stray.SendAll());
        QCOMPARE(queue.Queued().size(), 0);
    }
};

QUENLEY_REGISTER_TEST(TestProjectFile)
#include "TestProjectFile.moc"
