#include "PanelBitmaps.h"
#include "PanelTables.h"
#include "TestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>

namespace {

constexpr int kStartTimeoutMs = 30000;

// Runs a helper to its end and gives its standard output; false when it failed.
bool Run(const QString& strProgram, const QStringList& args, const QProcessEnvironment& env,
         QByteArray* pOut = nullptr) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(strProgram, args);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("%s %s: %s", qPrintable(strProgram), qPrintable(args.join(' ')),
                 process.readAllStandardError().constData());
        return false;
    }
    if (pOut)
        *pOut = process.readAllStandardOutput();
    return true;
}

// Every top-left corner at which patch occurs in image pixel for pixel.
QList<QPoint> FindAll(const QImage& image, const QImage& patch) {
    QList<QPoint> found;
    const int w = patch.width();
    const int h = patch.height();
    for (int y = 0; y + h <= image.height(); ++y) {
        for (int x = 0; x + w <= image.width(); ++x) {
            bool bSame = true;
            for (int r = 0; r < h && bSame; ++r) {
                const auto* pImage = reinterpret_cast<const QRgb*>(image.constScanLine(y + r)) + x;
                const auto* pPatch = reinterpret_cast<const QRgb*>(patch.constScanLine(r));
                bSame = std::equal(pPatch, pPatch + w, pImage);
            }
            if (bSame)
                found << QPoint(x, y);
        }
    }
    return found;
}

// Where on the kit panel its printed title lies: art that no control covers, the same in
// every kit window.
QRect KitEmblemRect() {
    for (const Panels::SDecor& d : Panels::Panel(Panels::EPanel::Kit).decor)
        if (d.eKind == Panels::EDecor::Emblem)
            return QRect(d.x, d.y, d.w, d.h);
    return {};
}

QImage KitEmblem() {
    const QRect rect = KitEmblemRect();
    if (rect.isNull())
        return {};
    return PanelBitmaps::CreateBitmap(PanelBitmaps::EPicture::Kit, false)
        .copy(rect)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The installed program as a musician starts it: the real quenley on an X server of its own
// (Xvfb, no window manager), its settings in a private folder, a project named on the command
// line. What is checked is what can be seen: the X windows' titles through xdotool, and the
// screen's pixels, in which each editor window shows its front panel.
class TestXvfbStart : public QObject {
    Q_OBJECT

    QProcess m_xvfb;
    QString m_strDisplay;
    QProcess m_app;
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;

    // Visible X windows whose title matches the regular expression.
    QStringList Windows(const QString& strTitle) {
        QByteArray out;
        QProcess search;
        search.setProcessEnvironment(m_env);
        search.start(QStringLiteral("xdotool"),
                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"), strTitle});
        // No match is exit code 1 and no output.
        if (!search.waitForFinished(10000))
            return {};
        return QString::fromLatin1(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    bool WaitForWindow(const QString& strTitle) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < kStartTimeoutMs) {
            if (!Windows(strTitle).isEmpty())
                return true;
            if (m_app.state() != QProcess::Running)
                return false;
            QThread::msleep(100);
        }
        return false;
    }

    QImage Screenshot() {
        const QString strShot = m_dir.filePath(QStringLiteral("screen.png"));
        QFile::remove(strShot);
        if (!Run(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), strShot}, m_env))
            return {};
        return QImage(strShot).convertToFormat(QImage::Format_RGB32);
    }

    // Settings as the device dialog leaves them: the output chosen by its name.
    void ChooseSysExFile(int nChannel) {
        QByteArray ports;
        QVERIFY(Run(QStringLiteral(QUENLEY_CLI), {QStringLiteral("ports")}, m_env, &ports));
        const QByteArray last = ports.trimmed().split('\n').last();
        QVERIFY2(last.endsWith(": SysEx file"), ports.constData());
        QSettings settings(m_dir.filePath(QStringLiteral("config/Quenley/Quenley.conf")),
                           QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("Settings"));
        settings.setValue(QStringLiteral("MidiOutputDeviceId"),
                          last.left(last.indexOf(':')).toUInt());
        settings.setValue(QStringLiteral("MidiOutputDeviceCh"), nChannel);
        settings.setValue(QStringLiteral("MidiOutputDeviceName"), QStringLiteral("SysEx file"));
        settings.endGroup();
        settings.sync();
        QCOMPARE(settings.status(), QSettings::NoError);
    }

    // Kit window JSON for a saved window on kit nNumber at the given place in the work area.
    static QString KitWindow(int nNumber, QPoint at) {
        return QStringLiteral(R"({"viewType": 2, "number": %1, "placement": {"flags": 0,
            "length": 44, "showCmd": 1, "min": [-1, -1], "max": [-1, -1],
            "normal": [%2, %3, %4, %5]}})")
            .arg(nNumber)
            .arg(at.x())
            .arg(at.y())
            .arg(at.x() + 490)
            .arg(at.y() + 410);
    }

    // groove.qly, made by quenley-cli from JSON: two kits, a kick (level 255), a snare and a
    // hi-hat, with the saved windows given.
    QString MakeGroove(const QStringList& windows) {
        const QString strJson = QStringLiteral(R"({"sections": [
            {"active": true, "class": "CKit", "kind": 1, "name": "Groove  ", "number": 5,
             "params": [71, 114, 111, 111, 118, 101, 32, 32, 100, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0]},
            {"active": false, "class": "CKit", "kind": 1, "name": "Brushes ", "number": 260,
             "params": [66, 114, 117, 115, 104, 101, 115, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]},
            {"active": true, "class": "CKick", "kind": 2, "name": "Deep kick       ",
             "number": 100, "params": [221, 26, 127, 0, 200, 0, 200, 160, 255]},
            {"active": true, "class": "CSnar", "kind": 3, "name": "Tight snare     ",
             "number": 3, "params": [200, 253, 3, 201, 7, 200]},
            {"active": true, "class": "CHiHa", "kind": 6, "name": "Closed hat      ",
             "number": 4, "params": [73, 3, 3, 3, 3, 3, 3, 156, 200, 228, 28, 33]}],
            "windows": [%1]})")
                                    .arg(windows.join(QStringLiteral(", ")));
        const QString strJsonPath = m_dir.filePath(QStringLiteral("groove.json"));
        const QString strProject = m_dir.filePath(QStringLiteral("groove.qly"));
        QFile json(strJsonPath);
        if (!json.open(QIODevice::WriteOnly) || json.write(strJson.toUtf8()) <= 0)
            return {};
        json.close();
        if (!Run(QStringLiteral(QUENLEY_CLI),
                 {QStringLiteral("from-json"), strJsonPath, strProject}, m_env))
            return {};
        return strProject;
    }

    // The kit panels' emblems on screen, top to bottom.
    QList<QPoint> KitPanelsOnScreen(int nAtLeast) {
        const QImage emblem = KitEmblem();
        QList<QPoint> found;
        QElapsedTimer t;
        t.start();
        // Mapped is not yet painted: look again until the panels are there.
        while (t.elapsed() < 10000) {
            const QImage screen = Screenshot();
            if (screen.isNull())
                return {};
            found = FindAll(screen, emblem);
            if (found.size() >= nAtLeast)
                break;
            QThread::msleep(300);
        }
        std::sort(found.begin(), found.end(), [](QPoint a, QPoint b) {
            return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
        });
        return found;
    }

    void StartEditor(const QStringList& args) {
        m_app.setProcessEnvironment(m_env);
        m_app.setProcessChannelMode(QProcess::ForwardedChannels);
        m_app.start(QStringLiteral(QUENLEY_BIN), args);
        QVERIFY2(m_app.waitForStarted(10000), qPrintable(m_app.errorString()));
    }

private slots:
    void initTestCase() {
        for (const char* pszTool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(pszTool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(pszTool)));
        QVERIFY(m_dir.isValid());
        // Xvfb picks a free display itself and names it on the descriptor given. It must not
        // reset when one editor quits, or the next one finds no server while it does.
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-noreset"),
                      QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x900x24"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QVERIFY(m_xvfb.waitForStarted(10000));
        QElapsedTimer t;
        t.start();
        while (!m_xvfb.canReadLine() && t.elapsed() < 20000 && m_xvfb.state() == QProcess::Running)
            m_xvfb.waitForReadyRead(500);
        const QByteArray number = m_xvfb.readLine().trimmed();
        QVERIFY2(!number.isEmpty(), m_xvfb.readAllStandardError().constData());
        m_strDisplay = QStringLiteral(":") + QString::fromLatin1(number);
    }

    void init() {
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("config/Quenley"))));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("data"))));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("runtime"))));
        QFile::setPermissions(m_dir.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("DISPLAY"), m_strDisplay);
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        m_env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("runtime")));
        for (const char* pszName :
             {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_STYLE_OVERRIDE"})
            m_env.remove(QString::fromLatin1(pszName));
    }

    // A project on the command line opens with both of its saved kit windows where it keeps
    // them, and the main window names the project.
    void opensProjectWithItsWindows() {
        ChooseSysExFile(0);
        // Two kit windows that overlap but leave each other's title free, the second on top.
        const QPoint first(12, 8);
        const QPoint second(290, 130);
        const QString strProject = MakeGroove({KitWindow(5, first), KitWindow(260, second)});
        QVERIFY(!strProject.isEmpty());

        StartEditor({strProject});
        QVERIFY2(WaitForWindow(QStringLiteral("^Quenley - groove\\.qly$")),
                 "no main window named after the project");
        // Every message box is titled "Quenley" alone; none may stand in the way.
        QVERIFY(Windows(QStringLiteral("^Quenley$")).isEmpty());

        QVERIFY(!KitEmblem().isNull());
        const QList<QPoint> found = KitPanelsOnScreen(2);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[1] - found[0], second - first);
    }

    // Without a chosen output the project is refused with the program's message, which takes
    // the keyboard; once answered the editor stays, empty.
    void refusesProjectWithoutDevice() {
        const QString strProject = m_dir.filePath(QStringLiteral("kick.qly"));
        QVERIFY(QFile::copy(QStringLiteral(QUENLEY_TEST_DATA_DIR "/cli/kick.qly"), strProject));
        StartEditor({strProject});
        QElapsedTimer t;
        t.start();
        while (Windows(QStringLiteral("^Quenley$")).size() < 2 && t.elapsed() < kStartTimeoutMs &&
               m_app.state() == QProcess::Running)
            QThread::msleep(100);
        QCOMPARE(Windows(QStringLiteral("^Quenley$")).size(), 2); // main window and message
        QVERIFY(Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")},
                    m_env));
        t.restart();
        while (Windows(QStringLiteral("^Quenley$")).size() > 1 && t.elapsed() < 10000)
            QThread::msleep(100);
        QCOMPARE(Windows(QStringLiteral("^Quenley$")).size(), 1);
        QVERIFY(Windows(QStringLiteral("kick\\.qly")).isEmpty());
        QCOMPARE(m_app.state(), QProcess::Running);
    }

    // Killed with unsaved changes, the editor offers them at the next start: Recover brings
    // back the edit, which Save writes into the project's own file, and no copy is left.
    void recoversAfterKill() {
        ChooseSysExFile(0);
        const QString strProject = MakeGroove({KitWindow(5, QPoint(12, 8))});
        QVERIFY(!strProject.isEmpty());
        const QDir recovery(m_dir.filePath(QStringLiteral("data/Quenley/Quenley/recovery")));
        const QStringList copies{QStringLiteral("*.qlyrec")};
        StartEditor({strProject});
        QVERIFY(WaitForWindow(QStringLiteral("^Quenley - groove\\.qly$")));

        // One notch of the wheel down on the kick's level fader (the kick is at 255).
        const QList<QPoint> panels = KitPanelsOnScreen(1);
        QCOMPARE(panels.size(), 1);
        const Panels::SControl* pFader =
            Panels::FindControl(Panels::Panel(Panels::EPanel::Kit), 2005);
        QVERIFY(pFader);
        const QPoint at =
            panels.front() - KitEmblemRect().topLeft() +
            QPoint(pFader->x + Panels::kFaderWidth / 2, pFader->y + Panels::kFaderTrack / 2);
        QVERIFY(Run(QStringLiteral("xdotool"),
                    {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                     QStringLiteral("click"), QStringLiteral("5")},
                    m_env));
        QVERIFY(WaitForWindow(QStringLiteral("^Quenley - groove\\.qly\\*$")));
        QElapsedTimer t;
        t.start();
        while (recovery.entryList(copies, QDir::Files).isEmpty() && t.elapsed() < 15000)
            QThread::msleep(100);
        QCOMPARE(recovery.entryList(copies, QDir::Files).size(), 1);

        m_app.kill();
        QVERIFY(m_app.waitForFinished(5000));
        StartEditor({strProject});
        t.restart();
        while (Windows(QStringLiteral("^Quenley$")).size() < 2 && t.elapsed() < kStartTimeoutMs &&
               m_app.state() == QProcess::Running)
            QThread::msleep(100);
        QCOMPARE(Windows(QStringLiteral("^Quenley$")).size(), 2); // main window and question
        QVERIFY(Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")},
                    m_env));
        QVERIFY(WaitForWindow(QStringLiteral("^Quenley - groove\\.qly\\*$")));
        // The command line's project is the one recovered: nothing more to say.
        QVERIFY(Windows(QStringLiteral("^Quenley$")).isEmpty());

        const QStringList main = Windows(QStringLiteral("^Quenley - groove"));
        QCOMPARE(main.size(), 1);
        QVERIFY(
            Run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), main.front()}, m_env));
        QVERIFY(Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+s")},
                    m_env));
        QVERIFY(WaitForWindow(QStringLiteral("^Quenley - groove\\.qly$")));
        QByteArray json;
        QVERIFY(Run(QStringLiteral(QUENLEY_CLI), {QStringLiteral("to-json"), strProject}, m_env,
                    &json));
        QJsonArray kickParams;
        for (const QJsonValue section :
             QJsonDocument::fromJson(json)[QStringLiteral("sections")].toArray())
            if (section[QStringLiteral("class")] == QStringLiteral("CKick"))
                kickParams = section[QStringLiteral("params")].toArray();
        QCOMPARE(kickParams.size(), 9);
        QCOMPARE(kickParams[8].toInt(), 254);
        t.restart();
        while (!recovery.entryList(copies, QDir::Files).isEmpty() && t.elapsed() < 10000)
            QThread::msleep(100);
        QCOMPARE(recovery.entryList(copies, QDir::Files), QStringList());
    }

    void cleanup() {
        if (m_app.state() != QProcess::NotRunning) {
            m_app.terminate();
            if (!m_app.waitForFinished(5000)) {
                m_app.kill();
                m_app.waitForFinished(5000);
            }
        }
    }

    void cleanupTestCase() {
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            if (!m_xvfb.waitForFinished(5000)) {
                m_xvfb.kill();
                m_xvfb.waitForFinished(5000);
            }
        }
    }
};

QUENLEY_REGISTER_TEST(TestXvfbStart)
#include "TestXvfbStart.moc"
