#include "CKick.h"
#include "CKit.h"
#include "CQuenleyDoc.h"
#include "FakeViews.h"
#include "ModelTestUtil.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QByteArray Contents(const QString& strPath) {
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& strPath, const QByteArray& bytes) {
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs a check as a user without the rights of root, so permissions hold even when the tests
// run as root; returns whether the check passed.
bool AsUnprivilegedUser(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t pid = fork();
    if (pid == 0) {
        const bool bOk = setgid(65534) == 0 && setuid(65534) == 0 && check();
        _exit(bOk ? 0 : 1);
    }
    int nStatus = 0;
    return pid > 0 && waitpid(pid, &nStatus, 0) == pid && WIFEXITED(nStatus) &&
           WEXITSTATUS(nStatus) == 0;
}

SWindowPlacement Placement(int nLeft) {
    SWindowPlacement p;
    p.nLeft = nLeft;
    p.nRight = nLeft + 300;
    p.nShowCmd = 1;
    return p;
}
} // namespace

// The project document: saving and loading with the window records, closing, and saves that
// fail without harming the file already on disk.
class TestDocument : public QObject {
    Q_OBJECT

    CKick m_kick;
    CKit m_kit;
    QTemporaryDir m_dir;

    QString Path(const char* pszName) const { return m_dir.filePath(QLatin1String(pszName)); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Views without a variation or without a readable frame are not remembered; the records
    // come out in reverse view order, and reopen through the host.
    void windowsAreSavedAndReopened() {
        CQuenleyDoc doc;
        CSection* kit = doc.FindOrCreateVariation(&m_kit, 300);
        CSection* kick = doc.FindOrCreateVariation(&m_kick, 4);
        CFakeView kitView(2, kit, Placement(10)), empty(3, nullptr), kickView(3, kick, Placement(20));
        CFakeView hidden(1, kit);
        hidden.m_bPlacementReadable = false;
        for (CDocumentView* v : std::initializer_list<CDocumentView*>{&kitView, &empty, &hidden,
                                                                      &kickView})
            doc.AddView(v);
        QVERIFY(doc.OnSaveDocument(Path("windows.qly")));
        QVERIFY(doc.GetWorkspaces().empty());
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.GetPathName(), Path("windows.qly"));

        CFakeHost host;
        CQuenleyDoc loaded;
        loaded.SetHost(&host);
        QVERIFY(loaded.OnOpenDocument(Path("windows.qly")));
        QCOMPARE(host.opened, QList<CWorkspace>({CWorkspace(3, 4, Placement(20)),
                                                 CWorkspace(2, 300, Placement(10))}));
        QVERIFY(loaded.GetWorkspaces().empty());
        QCOMPARE(loaded.GetSectionList().size(), size_t(2));
    }

    // A record of a view type without a template, or whose frame cannot be made, is skipped and
    // the others still open. The sections stay and no record is left to be written again.
    void reopeningSkipsWhatCannotOpen() {
        QByteArray bytes;
        {
            CQuenleyDoc doc;
            doc.FindOrCreateVariation(&m_kick, 1);
            int nNumber = 0;
            for (int nType : {12, 3, 5, 3})
                doc.Workspaces().push_back(
                    std::make_unique<CWorkspace>(nType, ++nNumber, Placement(0)));
            bytes = doc.SaveToBytes();
        }
        WriteFile(Path("four.qly"), bytes);
        CFakeHost noLfoTemplate;
        noLfoTemplate.m_nLastTemplate = 11;
        CQuenleyDoc doc;
        doc.SetHost(&noLfoTemplate);
        QVERIFY(doc.OnOpenDocument(Path("four.qly")));
        QCOMPARE(noLfoTemplate.opened.size(), 3);
        QCOMPARE(noLfoTemplate.opened.front().m_nViewType, 3);
        QCOMPARE(doc.UnknownWindows(), 1);
        QCOMPARE(doc.UnmadeWindows(), 0);
        QCOMPARE(doc.GetSectionList().size(), size_t(1));
        QVERIFY(doc.GetWorkspaces().empty());

        CFakeHost twoFrames;
        twoFrames.m_nFramesPossible = 2;
        CQuenleyDoc doc2;
        doc2.SetHost(&twoFrames);
        QVERIFY(doc2.OnOpenDocument(Path("four.qly")));
        QCOMPARE(twoFrames.opened.size(), 2);
        QCOMPARE(doc2.UnknownWindows(), 0);
        QCOMPARE(doc2.UnmadeWindows(), 2);
        QVERIFY(doc2.GetWorkspaces().empty());
        QCOMPARE(doc2.SaveToBytes().size(), bytes.size() - 4 * (2 + 52) - 14);
    }

    void closingEmptiesTheProject() {
        CQuenleyDoc doc;
        doc.FindOrCreateVariation(&m_kick, 0);
        doc.OnCloseDocument();
        QVERIFY(doc.GetSectionList().empty());
    }

    void deleteContentsEmptiesBothLists() {
        CQuenleyDoc doc;
        doc.FindOrCreateVariation(&m_kick, 0);
        doc.Workspaces().push_back(std::make_unique<CWorkspace>());
        doc.DeleteContents();
        QVERIFY(doc.GetSectionList().empty());
        QVERIFY(doc.GetWorkspaces().empty());
        QVERIFY(doc.FindOrCreateVariation(&m_kick, 0));
    }

    void openFailures() {
        CQuenleyDoc doc;
        const QString strMissing = Path("missing.qly");
        QVERIFY(!doc.OnOpenDocument(strMissing));
        QCOMPARE(doc.LastError(), QStringLiteral("%1 was not found.").arg(strMissing));
        QVERIFY(!doc.OnOpenDocument(m_dir.path()));
        QCOMPARE(doc.LastError(), QStringLiteral("%1 is a folder, not a file.").arg(m_dir.path()));

        // A damaged file leaves nothing of the project that was there, and nothing half-read.
        doc.FindOrCreateVariation(&m_kick, 0);
        CQuenleyDoc good;
        good.FindOrCreateVariation(&m_kick, 1);
        WriteFile(Path("cut.qly"), good.SaveToBytes().chopped(1));
        QVERIFY(!doc.OnOpenDocument(Path("cut.qly")));
        QCOMPARE(doc.LastError(), QStringLiteral("Unexpected file format."));
        QVERIFY(doc.GetSectionList().empty());
        WriteFile(Path("tail.qly"), good.SaveToBytes() + '\0');
        QVERIFY(!doc.OnOpenDocument(Path("tail.qly")));
    }

    // Every failed save leaves the previous file exactly as it was and says why.
    void failedSavesKeepThePreviousFile() {
        const QString strFile = Path("keep.qly");
        const QByteArray old("previous project");
        WriteFile(strFile, old);
        CQuenleyDoc doc;
        for (int n = 0; n < 256; ++n)
            doc.FindOrCreateVariation(&m_kick, n);
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);

        // A file system that takes only a few bytes more: the write fails half-way.
        rlimit old_limit{};
        getrlimit(RLIMIT_FSIZE, &old_limit);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{4096, old_limit.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool bSaved = doc.OnSaveDocument(strFile);
        setrlimit(RLIMIT_FSIZE, &old_limit);
        QVERIFY(!bSaved);
        QCOMPARE(doc.LastError(), QStringLiteral("Disk full while accessing %1.").arg(strFile));
        QCOMPARE(Contents(strFile), old);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before); // no temporary left

        // A folder where the file should be.
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.qly")));
        QVERIFY(!doc.OnSaveDocument(Path("folder.qly")));
        QCOMPARE(doc.LastError(),
                 QStringLiteral("%1 is a folder, not a file.").arg(Path("folder.qly")));
        QVERIFY(QFileInfo(Path("folder.qly")).isDir());

        // A folder that does not exist.
        const QString strNowhere = Path("nowhere/x.qly");
        QVERIFY(!doc.OnSaveDocument(strNowhere));
        QCOMPARE(doc.LastError(), QStringLiteral("%1: the folder %2 does not exist.")
                                      .arg(strNowhere, Path("nowhere")));

        // A folder the user may not write to.
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("locked")));
        const QString strLocked = Path("locked/keep.qly");
        WriteFile(strLocked, old);
        QVERIFY(QFile::setPermissions(strLocked, QFile::ReadOwner | QFile::WriteOwner |
                                                     QFile::ReadOther | QFile::WriteOther));
        QVERIFY(QFile::setPermissions(Path("locked"), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ExeOwner | QFile::ReadOther |
                                                          QFile::ExeOther));
        const bool bRefused = AsUnprivilegedUser([&] {
            return !doc.OnSaveDocument(strLocked) &&
                   doc.LastError() == QStringLiteral("Access to %1 was denied.").arg(strLocked);
        });
        QFile::setPermissions(Path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(bRefused);
        QCOMPARE(Contents(strLocked), old);
        QVERIFY(doc.IsModified());

        // And a save that can succeed replaces the file whole.
        QVERIFY(doc.OnSaveDocument(strFile));
        CQuenleyDoc loaded;
        QVERIFY(loaded.OnOpenDocument(strFile));
        QCOMPARE(loaded.GetSectionList().size(), size_t(256));
    }
    // The variation as the project's file holds it: from the bytes last opened or saved here, or
    // read from the file of a project loaded from elsewhere (a recovery copy); the default sound
    // of a new variation where the file does not hold it, is missing or is damaged.
    void savedVariation_data() {
        using E = CQuenleyDoc::ESaved;
        QTest::addColumn<int>("eSetup");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<int>("eWhence");
        QTest::addColumn<int>("nValue"); // -1: the default sound's
        QTest::newRow("opened") << 0 << 7 << int(E::kFile) << 40;
        QTest::newRow("opened, new since") << 0 << 8 << int(E::kNotInFile) << -1;
        QTest::newRow("saved again") << 1 << 7 << int(E::kFile) << 50;
        QTest::newRow("recovered") << 2 << 7 << int(E::kFile) << 40;
        QTest::newRow("recovered, file damaged") << 3 << 7 << int(E::kUnreadable) << -1;
        QTest::newRow("recovered, file gone") << 4 << 7 << int(E::kNeverSaved) << -1;
        QTest::newRow("never saved") << 5 << 7 << int(E::kNeverSaved) << -1;
    }
    void savedVariation() {
        QFETCH(int, eSetup);
        QFETCH(int, nNumber);
        QFETCH(int, eWhence);
        QFETCH(int, nValue);
        constexpr int kParam = 2;
        const QString strFile = Path("saved-variation.qly");
        QFile::remove(strFile);
        {
            CQuenleyDoc first;
            first.FindOrCreateVariation(&m_kick, 7)->SetParam(kParam, 40);
            QVERIFY(first.OnSaveDocument(strFile));
        }
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        if (eSetup <= 1) {
            QVERIFY(doc.OnOpenDocument(strFile));
        } else if (eSetup == 5) {
            QVERIFY(doc.OnNewDocument());
        } else {
            CQuenleyDoc edited;
            edited.FindOrCreateVariation(&m_kick, 7)->SetParam(kParam, 60);
            QVERIFY(doc.LoadFromBytes(edited.SaveToBytes()));
            doc.SetPathName(eSetup == 4 ? Path("gone.qly") : strFile);
            if (eSetup == 3)
                WriteFile(strFile, "QLY1 not a project");
        }
        CSection* pOwn = doc.FindOrCreateVariation(&m_kick, nNumber);
        pOwn->SetParam(kParam, 50);
        if (eSetup == 1)
            QVERIFY(doc.OnSaveDocument(strFile));
        pOwn->SetParam(kParam, 60);
        const QByteArray project = doc.SaveToBytes();

        CQuenleyDoc::ESaved eGot = CQuenleyDoc::ESaved::kFile;
        const std::unique_ptr<CSection> pSaved = doc.SavedVariation(Kinds::kKick, nNumber, &eGot);
        QVERIFY(pSaved);
        QCOMPARE(int(eGot), eWhence);
        const std::unique_ptr<CSection> pDefault(m_kick.CreateVariation(nNumber));
        QCOMPARE(pSaved->GetParam(kParam), nValue < 0 ? pDefault->GetParam(kParam) : nValue);
        QCOMPARE(pSaved->GetNumber(), nNumber);
        QCOMPARE(pSaved->TransmitQueue(), doc.TransmitQueue());
        QCOMPARE(pOwn->GetParam(kParam), 60);
        QCOMPARE(doc.SaveToBytes(), project);
    }
};

QUENLEY_REGISTER_TEST(TestDocument)
#include "TestDocument.moc"
