// The recovery copy of unsaved changes: written soon after an edit, gone once the changes are
// saved or given up, and offered at the next start when the editor ended without either.

#include "AppFixture.h"
#include "CRecoveryStore.h"
#include "KitViewTestUtil.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using QuenleyMessage::EAnswer;

namespace {
using Commands::ECommand;
constexpr ECommand kClose = ECommand::Close;
constexpr ECommand kSave = ECommand::Save;
constexpr ECommand kSaveAs = ECommand::SaveAs;
constexpr ECommand kExit = ECommand::Exit;
constexpr ECommand kKickWindow = ECommand::OpenKick;
constexpr unsigned kKickNumber = 2520;
constexpr unsigned kKickInit = 2510;
constexpr unsigned kKickDecayKnob = 2600;
constexpr int kDecay = 2;
constexpr int kKick = 2;

QStringList Copies() {
    return QDir(CRecoveryStore::DefaultFolder())
        .entryList({QStringLiteral("*.qlyrec*")}, QDir::Files, QDir::Name);
}

QByteArray ReadAll(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int SavedDecay(const QString& strPath) {
    CQuenleyDoc doc;
    if (!doc.OnOpenDocument(strPath))
        return -1;
    const CSection* pKick = doc.FindVariationOfKind(kKick, 7);
    return pKick ? pKick->GetParam(kDecay) : -1;
}
} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // A new project with a Kick window on variation 7 made by Init.; saved to strPath when
    // given, then its Decay turned up: the project has unsaved changes.
    static CChildFrame* KickEdited(CAppFixture& f, const QString& strPath = {}) {
        f.StartWithProject();
        f.Frame().activateWindow();
        if (!QTest::qWaitForWindowActive(&f.Frame()))
            return nullptr;
        f.Trigger(kKickWindow);
        CChildFrame* pFrame = f.Frame().ActiveFrame();
        OperateControl(*pFrame->View(), kKickNumber, QStringLiteral("007"));
        OperateControl(*pFrame->View(), kKickInit);
        if (!strPath.isEmpty()) {
            f.files = {strPath};
            f.Trigger(kSaveAs);
        }
        OperateControl(*pFrame->View(), kKickDecayKnob, QStringLiteral("+3"));
        return pFrame;
    }

private slots:
    void init() {
        CAppFixture::ClearSettings();
        QDir(CRecoveryStore::DefaultFolder()).removeRecursively();
    }

    // An edit is copied within the longest delay; saving, closing without saving and quitting
    // without saving each take the copy away.
    void copyGoesWithTheChanges_data() {
        QTest::addColumn<int>("nCommand");
        QTest::addColumn<int>("nAnswer");
        QTest::newRow("save") << int(kSave) << int(EAnswer::Ok);
        QTest::newRow("close, not saved") << int(kClose) << int(EAnswer::No);
        QTest::newRow("quit, not saved") << int(kExit) << int(EAnswer::No);
    }
    void copyGoesWithTheChanges() {
        QFETCH(int, nCommand);
        QFETCH(int, nAnswer);
        CAppFixture f;
        QVERIFY(KickEdited(f, m_dir.filePath(QStringLiteral("goes.qly"))));
        CRecoveryStore* pStore = f.App().Recovery();
        QVERIFY(pStore->IsOwner());
        const int nPending = pStore->PendingMs();
        QVERIFY2(nPending > 0 && nPending <= CRecoveryStore::kMaxDelayMs,
                 qPrintable(QString::number(nPending)));
        pStore->WritePendingNow();
        pStore->WaitIdle();
        QCOMPARE(Copies().size(), 1);

        f.answers = {EAnswer(nAnswer)};
        f.Trigger(ECommand(nCommand));
        pStore->WaitIdle();
        QCOMPARE(Copies(), QStringList());
    }

    // After an editor that ended with unsaved changes, Recover brings the edit back with its
    // window, modified and belonging to its file, and Save writes that file.
    // A file another program wrote meanwhile is not overwritten unasked.
    void recoverRestoresTheEdit_data() {
        QTest::addColumn<bool>("bChangedMeanwhile");
        QTest::newRow("file as it was") << false;
        QTest::newRow("file changed by another program") << true;
    }
    void recoverRestoresTheEdit() {
        QFETCH(bool, bChangedMeanwhile);
        const QString strPath = m_dir.filePath(QStringLiteral("recover.qly"));
        CAppFixture f;
        CChildFrame* pFrame = KickEdited(f, strPath);
        QVERIFY(pFrame);
        pFrame->move(40, 30);
        const int nEdited = f.Doc()->FindVariationOfKind(kKick, 7)->GetParam(kDecay);
        QVERIFY(SavedDecay(strPath) != nEdited);
        f.App().Recovery()->WritePendingNow();
        f.m_pApp.reset();

        f.shown.clear();
        f.dialogs.clear();
        f.answers = {EAnswer::Yes};
        QVERIFY(f.Start());
        QCOMPARE(
            f.Texts(),
            QStringList(QStringLiteral(
                "Quenley did not close properly. Recover the unsaved changes to recover.qly?")));
        QVERIFY(f.Doc());
        QVERIFY(f.Doc()->IsModified());
        QCOMPARE(f.Doc()->GetPathName(), strPath);
        QCOMPARE(f.Doc()->FindVariationOfKind(kKick, 7)->GetParam(kDecay), nEdited);
        QMap<int, QPoint> windows;
        for (CChildFrame* pWindow : f.Frame().Frames())
            windows.insert(pWindow->View()->GetViewType(), pWindow->pos());
        QCOMPARE(windows.keys(), QList<int>({2, 3}));
        QCOMPARE(windows[3], QPoint(40, 30));

        if (bChangedMeanwhile) {
            QFile other(strPath);
            QVERIFY(other.open(QIODevice::Append));
            other.write("another program's bytes");
            other.close();
            const QByteArray changed = ReadAll(strPath);
            f.shown.clear();
            f.answers = {EAnswer::Cancel};
            f.Trigger(kSave);
            QCOMPARE(f.shown.size(), 1);
            QVERIFY2(f.Texts().front().contains(QStringLiteral("changed by another program")),
                     qPrintable(f.Texts().front()));
            QCOMPARE(ReadAll(strPath), changed);
            QVERIFY(f.Doc()->IsModified());
            return;
        }
        f.Trigger(kSave);
        QCOMPARE(f.dialogs, QStringList());
        QCOMPARE(SavedDecay(strPath), nEdited);
        f.App().Recovery()->WaitIdle();
        QCOMPARE(Copies(), QStringList());
    }

    // A copy left behind is offered; Discard removes it. A damaged one is not offered but
    // reported, and kept aside under a name that is not offered again.
    void leftoverDiscardedOrKeptAside_data() {
        QTest::addColumn<int>("nDamage"); // 0: none, >0: bytes cut off, <0: a byte changed
        QTest::addColumn<QString>("strShown");
        QTest::addColumn<QStringList>("left");
        const QString strAsk =
            QStringLiteral("Quenley did not close properly. Recover the unsaved changes to QLY4?");
        const QString strDamaged = QStringLiteral(
            "A recovery copy of unsaved changes is damaged (it is incomplete or was changed) and "
            "cannot be recovered. It has been kept as %1.");
        const QStringList aside{QStringLiteral("old.qlyrec.damaged")};
        QTest::newRow("discard") << 0 << strAsk << QStringList();
        QTest::newRow("cut off") << 7 << strDamaged << aside;
        QTest::newRow("changed") << -40 << strDamaged << aside;
    }
    void leftoverDiscardedOrKeptAside() {
        QFETCH(int, nDamage);
        QFETCH(QString, strShown);
        QFETCH(QStringList, left);
        CQuenleyDoc doc;
        doc.OnNewDocument();
        QByteArray bytes =
            CRecoveryStore::Encode({QString(), QStringLiteral("QLY4"), doc.SaveToBytes(), {}});
        if (nDamage > 0)
            bytes.chop(nDamage);
        else if (nDamage < 0)
            bytes[bytes.size() + nDamage] ^= 1;
        QVERIFY(QDir().mkpath(CRecoveryStore::DefaultFolder()));
        QFile file(QDir(CRecoveryStore::DefaultFolder()).filePath(QStringLiteral("old.qlyrec")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();

        CAppFixture f;
        CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"));
        QVERIFY(f.Start());
        f.App().Recovery()->WaitIdle();
        const QString strAside =
            QDir(CRecoveryStore::DefaultFolder()).filePath(QStringLiteral("old.qlyrec.damaged"));
        QCOMPARE(f.Texts(), QStringList(strShown.contains(QLatin1String("%1"))
                                            ? strShown.arg(QDir::toNativeSeparators(strAside))
                                            : strShown));
        QVERIFY(!f.Doc());
        QCOMPARE(Copies(), left);

        // Nothing is offered again.
        f.m_pApp.reset();
        f.shown.clear();
        QVERIFY(f.Start());
        QCOMPARE(f.Texts(), QStringList());
    }

    // An editor that cannot own the folder (another one does) keeps no copy and says nothing.
    void secondEditorKeepsNoCopy() {
        CAppFixture f;
        QVERIFY(QDir().mkpath(CRecoveryStore::DefaultFolder()));
        QLockFile other(
            QDir(CRecoveryStore::DefaultFolder()).filePath(QStringLiteral("owner.lock")));
        QVERIFY(other.tryLock(0));
        QVERIFY(KickEdited(f));
        QVERIFY(!f.App().Recovery()->IsOwner());
        QCOMPARE(f.App().Recovery()->PendingMs(), -1);
        QCOMPARE(f.Texts(), QStringList());
        QCOMPARE(Copies(), QStringList());
    }
};

QUENLEY_REGISTER_TEST(TestRecovery)
#include "TestRecovery.moc"
