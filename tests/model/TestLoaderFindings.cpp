#include "CHiHa.h"
#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CQuenleyDoc.h"
#include "CSnar.h"
#include "ProjectFile.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// Damaged project files, those the loader's fuzzer found and those made by hand for each way the
// object archive can be wrong: none may load, and none may leave part of a project behind.
class TestLoaderFindings : public QObject {
    Q_OBJECT

    static QString FindingsDir() { return QStringLiteral(QUENLEY_TEST_DATA_DIR "/fuzz"); }

    static QByteArray ReadAll(const QString& strPath) {
        QFile file(strPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Several classes, a class met again after others, and window records, so that every
    // kind of tag and field occurs somewhere.
    static QByteArray BuildProject() {
        CQuenleyDoc doc;
        const CKit kit;
        const CKick kick;
        const CSnar snare;
        const CHiHa hihat;
        const CLFOs lfos;
        doc.FindOrCreateVariation(&kit, 300)->SetName("Groove");
        doc.FindOrCreateVariation(&kick, 0)->SetParam(4, 99);
        doc.FindOrCreateVariation(&snare, 1);
        doc.FindOrCreateVariation(&kick, 7)->SetActive(true);
        doc.FindOrCreateVariation(&hihat, 255)->SetParam(11, 255);
        doc.FindOrCreateVariation(&lfos, 0);
        SWindowPlacement placement;
        placement.nLeft = 10;
        placement.nBottom = 480;
        doc.Workspaces().push_back(std::make_unique<CWorkspace>(3, 7, placement));
        doc.Workspaces().push_back(std::make_unique<CWorkspace>(2, 300, placement));
        return doc.SaveToBytes();
    }

    // A document that holds something, so a failed load has something to leave behind.
    static bool Fill(CQuenleyDoc& doc) {
        return doc.LoadFromBytes(BuildProject()) && !doc.GetSectionList().empty() &&
               !doc.GetWorkspaces().empty();
    }

private slots:
    void findings_data() {
        QTest::addColumn<QString>("strPath");
        const QFileInfoList files = QDir(FindingsDir()).entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo& info : files)
            QTest::newRow(qPrintable(info.fileName())) << info.filePath();
        if (files.isEmpty())
            QTest::newRow("no findings") << QString();
    }

    void findings() {
        QFETCH(QString, strPath);
        QVERIFY2(!strPath.isEmpty(), qPrintable("no files in " + FindingsDir()));
        const QByteArray bytes = ReadAll(strPath);
        QVERIFY(!bytes.isNull());

        CQuenleyDoc doc;
        QVERIFY(Fill(doc));
        if (QFileInfo(strPath).fileName().startsWith(QLatin1String("valid-"))) {
            QVERIFY(doc.LoadFromBytes(bytes));
            QCOMPARE(doc.SaveToBytes(), bytes);
            return;
        }
        QVERIFY(!doc.LoadFromBytes(bytes));
        QVERIFY(doc.GetSectionList().empty());
        QVERIFY(doc.GetWorkspaces().empty());
    }

    void everyTruncationFails() {
        const QByteArray project = BuildProject();
        CQuenleyDoc doc;
        QVERIFY(doc.LoadFromBytes(project));
        QCOMPARE(doc.GetSectionList().size(), std::size_t(6));
        QCOMPARE(doc.GetWorkspaces().size(), std::size_t(2));
        QCOMPARE(doc.SaveToBytes(), project);

        for (qsizetype n = 0; n < project.size(); ++n) {
            QVERIFY(Fill(doc));
            const bool bLoaded = doc.LoadFromBytes(project.left(n));
            QVERIFY2(!bLoaded && doc.GetSectionList().empty() && doc.GetWorkspaces().empty(),
                     qPrintable(QString("cut to %1 of %2 bytes").arg(n).arg(project.size())));
        }
    }

    void openingADamagedFileSaysUnexpectedFormat() {
        const QString strPath = FindingsDir() + "/trailing-bytes.qly";
        QVERIFY(QFileInfo::exists(strPath));
        CQuenleyDoc doc;
        QVERIFY(Fill(doc));
        QVERIFY(!doc.OnOpenDocument(strPath));
        QCOMPARE(doc.LastError(), QString::fromLatin1(ProjectFile::kUnexpectedFormat));
        QCOMPARE(doc.LastError(), QString("Unexpected file format."));
        QVERIFY(doc.GetSectionList().empty());
        QVERIFY(doc.GetWorkspaces().empty());
        QVERIFY(doc.GetPathName() != strPath);
    }
};

QUENLEY_REGISTER_TEST(TestLoaderFindings)
#include "TestLoaderFindings.moc"
