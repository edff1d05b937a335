// The editor's user interface against floors measured in the same run: start-up to the first
// painted main window next to a bare QMainWindow program, opening a kit window, the longest
// stall of the event loop while the largest project goes through the real transmit queue to
// the "SysEx file" output, and resident memory with that project open next to the bare program.
// The longest stall while recovery copies are written during a burst of edits on that project,
// and while the Project Overview opens, filters and follows changes.
// The driver starts each measurement as a child process of this same program.
#include "BenchClock.h"
#include "CBenchEditor.h"
#include "CClap.h"
#include "CCrsh.h"
#include "CDCtrl.h"
#include "CDView.h"
#include "CGapMeter.h"
#include "CHiHa.h"
#include "CHiTo.h"
#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CLoTo.h"
#include "CMainFrame.h"
#include "CMidiWnd.h"
#include "COverviewDock.h"
#include "COverviewModel.h"
#include "CPaintWatch.h"
#include "CQuenleyApp.h"
#include "CQuenleyDoc.h"
#include "CRecoveryStore.h"
#include "CRide.h"
#include "CRims.h"
#include "CSnar.h"
#include "Commands.h"
#include "KitOperations.h"
#include "ProjectFile.h"
#include "QuenleyMessage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

using Commands::ECommand;

namespace {

constexpr int kSettleMs = 500;

long RssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

// Children report "key value" lines to the driver.
void Say(const char* pszKey, double value) {
    std::printf("%s %.6f\n", pszKey, value);
    std::fflush(stdout);
}

[[noreturn]] void Die(const char* pszWhat) {
    std::fprintf(stderr, "guibench: %s\n", pszWhat);
    std::exit(1);
}

double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool IsMainWindow(QWidget* pWidget) {
    return qobject_cast<QMainWindow*>(pWidget) != nullptr;
}

bool IsEditorView(QWidget* pWidget) {
    return qobject_cast<CDView*>(pWidget) != nullptr;
}

// Runs settled kSettleMs after both the main window and an editor window have first painted.
class CSettleWatch {
public:
    explicit CSettleWatch(std::function<void()> settled)
        : m_settled(std::move(settled)), m_main(IsMainWindow, [this] { Painted(); }),
          m_view(IsEditorView, [this] { Painted(); }) {}

private:
    void Painted() {
        if (++m_nPainted == 2)
            QTimer::singleShot(kSettleMs, m_settled);
    }

    std::function<void()> m_settled;
    int m_nPainted = 0;
    CPaintWatch m_main;
    CPaintWatch m_view;
};

// Quitting asks whether to save the edits: no. Anything else the editor says is reported.
void AnswerNoToSaving() {
    QuenleyMessage::SetHook(
        [](const QString& strText, QuenleyMessage::EIcon, QuenleyMessage::EButtons eButtons) {
            if (eButtons == QuenleyMessage::EButtons::YesNoCancel)
                return QuenleyMessage::EAnswer::No;
            std::fprintf(stderr, "guibench: the editor said: %s\n", qPrintable(strText));
            return QuenleyMessage::EAnswer::Ok;
        });
}

int ChildBareStart(int argc, char** argv) {
    const qint64 nMain = BenchClock::Now();
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quenley"));
    window.resize(900, 640);
    CPaintWatch watch(IsMainWindow, [&] {
        Say("painted", double(BenchClock::Now()));
        Say("main", double(nMain));
        QTimer::singleShot(kSettleMs, [] {
            Say("rss", double(RssKb()));
            QApplication::quit();
        });
    });
    window.show();
    return QApplication::exec();
}

int ChildEditorStart(int argc, char** argv) {
    const qint64 nMain = BenchClock::Now();
    CBenchEditor editor(argc, argv, {});
    CPaintWatch watch(IsMainWindow, [&] {
        Say("painted", double(BenchClock::Now()));
        Say("main", double(nMain));
        QApplication::quit();
    });
    // InitInstance has shown the window; the first paint comes with the event loop.
    return QApplication::exec();
}

// New project, then the first paint of its kit window; closed again each round.
int ChildKitOpen(int argc, char** argv, int nRounds) {
    CBenchEditor editor(argc, argv, {});
    CQuenleyApp& quenley = editor.App();
    std::vector<double> times;
    qint64 nStart = 0;
    std::function<void()> Round;
    CPaintWatch viewWatch(IsEditorView, [&] {
        times.push_back(double(BenchClock::Now() - nStart) / 1e6);
        if (!quenley.CloseDocument())
            Die("the new project did not close");
        if (int(times.size()) == nRounds) {
            Say("kit_first_ms", times.front());
            Say("kit_median_ms", Median(times));
            QApplication::quit();
            return;
        }
        QTimer::singleShot(50, Round);
    });
    Round = [&] {
        viewWatch.Rearm();
        nStart = BenchClock::Now();
        quenley.OnFileNew();
        if (!quenley.Document())
            Die("New made no project (is an output chosen?)");
    };
    QTimer::singleShot(kSettleMs, Round);
    return QApplication::exec();
}

// The project opened from the command line with its kit window; then Send project with the
// port open, the event loop watched for nWindowMs.
int ChildSend(int argc, char** argv, const QString& strProject, int nWindowMs) {
    CBenchEditor editor(argc, argv, {strProject});
    CQuenleyApp& quenley = editor.App();
    CMainFrame& frame = *quenley.MainFrame();
    CMidiWnd& midi = *quenley.GetMidiWnd();
    if (!quenley.Document())
        Die("the project did not open (is an output chosen?)");
    Say("sections", double(quenley.Document()->GetSectionList().size()));
    int nOtherMessages = 0;
    QuenleyMessage::SetHook(
        [&](const QString& strText, QuenleyMessage::EIcon, QuenleyMessage::EButtons) {
            if (strText.contains(QStringLiteral("entire project")))
                return QuenleyMessage::EAnswer::Yes;
            std::fprintf(stderr, "guibench: the editor said: %s\n", qPrintable(strText));
            ++nOtherMessages;
            return QuenleyMessage::EAnswer::Ok;
        });

    CGapMeter gaps;
    int nQueued = 0;
    const auto Finish = [&] {
        Say("after_max_gap_ms", gaps.MaxMs());
        Say("sent_in_window", nQueued - midi.QueueLength());
        Say("left_in_queue", midi.QueueLength());
        Say("other_messages", nOtherMessages);
        // The rest would take minutes: dropped, as Clear buffer would.
        midi.DestroySysExList();
        QApplication::quit();
    };
    const auto Send = [&] {
        Say("idle_max_gap_ms", gaps.MaxMs());
        gaps.Restart();
        const qint64 nStart = BenchClock::Now();
        frame.OnCommand(ECommand::SendProject);
        Say("send_call_ms", double(BenchClock::Now() - nStart) / 1e6);
        // The gap still open holds the command itself; what follows is the queue at work.
        Say("call_gap_ms", gaps.MaxMs());
        gaps.Restart();
        nQueued = midi.QueueLength();
        Say("queued", nQueued);
        QTimer::singleShot(nWindowMs, Finish);
    };
    std::function<void()> WaitOpen = [&] {
        if (midi.IsOpen() && !midi.IsClosed()) {
            QTimer::singleShot(0, Send);
            return;
        }
        QTimer::singleShot(5, WaitOpen);
    };
    const auto Idle = [&] {
        Say("rss", double(RssKb()));
        gaps.Start();
        // Two seconds of the idle loop give the timer's own floor.
        QTimer::singleShot(2000, [&] {
            frame.OnCommand(ECommand::Activate);
            WaitOpen();
        });
    };
    const CSettleWatch settled(Idle);
    return QApplication::exec();
}

// The project opened from the command line with its kit window; after the idle loop's floor,
// a burst of edits for nWindowMs (the kick's level fader turned by the wheel every 20 ms, down
// 200 notches and up again, as a user would) while a recovery copy is written every 250 ms
// besides the store's own timing.
int ChildRecovery(int argc, char** argv, const QString& strProject, int nWindowMs) {
    CBenchEditor editor(argc, argv, {strProject});
    CQuenleyApp& quenley = editor.App();
    CRecoveryStore* pStore = quenley.Recovery();
    CDView* pView = quenley.MainFrame()->ActiveView();
    QWidget* pFader = pView ? pView->Control(2005) : nullptr;
    if (!quenley.Document() || !pFader || !pStore || !pStore->IsOwner())
        Die("the project, its kit window or the recovery folder is missing");
    AnswerNoToSaving();
    CGapMeter gaps;
    QTimer edits;
    QTimer copies;
    int nEdits = 0;
    std::vector<double> serialise;
    QObject::connect(&edits, &QTimer::timeout, [&] {
        const QPointF at(pFader->width() / 2.0, pFader->height() / 2.0);
        QWheelEvent wheel(at, pFader->mapToGlobal(at), QPoint(),
                          QPoint(0, (nEdits / 200) % 2 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(pFader, &wheel);
        ++nEdits;
    });
    QObject::connect(&copies, &QTimer::timeout, [&] {
        if (pStore->PendingMs() < 0)
            return;
        const qint64 nStart = BenchClock::Now();
        pStore->WritePendingNow();
        serialise.push_back(double(BenchClock::Now() - nStart) / 1e6);
    });
    const auto Finish = [&] {
        edits.stop();
        copies.stop();
        Say("burst_max_gap_ms", gaps.MaxMs());
        Say("edits", nEdits);
        Say("copies", double(serialise.size()));
        Say("serialise_median_ms", Median(serialise));
        Say("serialise_max_ms",
            serialise.empty() ? 0.0 : *std::max_element(serialise.begin(), serialise.end()));
        pStore->WaitIdle();
        // What the worker spares the interface: the same copy written and synced right here.
        QFile copy(pStore->CopyPath());
        if (!copy.open(QIODevice::ReadOnly))
            Die("no recovery copy was written");
        const QByteArray bytes = copy.readAll();
        Say("copy_bytes", double(bytes.size()));
        QSaveFile direct(pStore->CopyPath() + QStringLiteral(".direct"));
        const qint64 nStart = BenchClock::Now();
        if (!direct.open(QIODevice::WriteOnly) || direct.write(bytes) != bytes.size() ||
            !direct.commit())
            Die("cannot write the copy directly");
        Say("direct_write_ms", double(BenchClock::Now() - nStart) / 1e6);
        QApplication::quit();
    };
    const auto Idle = [&] {
        gaps.Start();
        QTimer::singleShot(2000, [&] {
            Say("idle_max_gap_ms", gaps.MaxMs());
            gaps.Restart();
            edits.start(20);
            copies.start(250);
            QTimer::singleShot(nWindowMs, Finish);
        });
    };
    const CSettleWatch settled(Idle);
    return QApplication::exec();
}

// The project opened from the command line with its kit window; after the idle loop's floor,
// the overview is opened, filtered one keystroke at a time, cleared again, and follows names
// and kits that change. Each step has 300 ms of the event loop to itself, so that whatever it
// left for later is measured with it.
int ChildOverview(int argc, char** argv, const QString& strProject) {
    CBenchEditor editor(argc, argv, {strProject});
    CQuenleyApp& quenley = editor.App();
    CMainFrame& frame = *quenley.MainFrame();
    CQuenleyDoc* pDoc = quenley.Document();
    COverviewDock* pDock = frame.Overview();
    if (!pDoc || !pDock || !frame.Action(ECommand::ProjectOverview))
        Die("the project or the overview is missing");
    AnswerNoToSaving();
    const auto Key = [pDock](int nKey, const QString& strText) {
        QWidget* pSearch = pDock->SearchField();
        QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier, strText);
        QApplication::sendEvent(pSearch, &press);
        QKeyEvent release(QEvent::KeyRelease, nKey, Qt::NoModifier, strText);
        QApplication::sendEvent(pSearch, &release);
    };
    // What a musician does to the project while the overview shows it, as the document
    // announces it: a kick renamed, a kit choosing another kick.
    int nChange = 0;
    const auto Change = [&] {
        const int n = nChange++;
        if (n % 2 == 0) {
            CSection* pKick = pDoc->FindVariationOfKind(Kinds::kKick, n);
            if (!pKick)
                Die("no kick to rename");
            pDoc->BeginEdit();
            pKick->SetName(n % 4 ? "Tight           " : "Boom            ");
            pDoc->EndEdit(QStringLiteral("%1 Name"));
        } else if (CSection* pKit = pDoc->FindVariationOfKind(Kinds::kKit, n)) {
            KitOperations::ChooseVariation(*pDoc, *pKit, Kinds::kKick, (n * 7) % 256);
        }
    };
    struct SStep {
        const char* pszKind;
        std::function<void()> run;
    };
    std::vector<SStep> steps;
    steps.push_back({"open", [&] { frame.OnCommand(ECommand::ProjectOverview); }});
    steps.push_back({"focus", [&] { pDock->FocusSearch(); }});
    for (QChar c : QStringLiteral("kick 12"))
        steps.push_back(
            {"type", [&, c] {
                 Key(c == QLatin1Char(' ') ? int(Qt::Key_Space) : int(c.toUpper().unicode()), c);
             }});
    for (int i = 0; i < 7; ++i)
        steps.push_back({"erase", [&] { Key(Qt::Key_Backspace, {}); }});
    for (int i = 0; i < 8; ++i)
        steps.push_back({"change", Change});

    CGapMeter gaps;
    QMap<QString, double> worst;
    std::size_t nStep = 0;
    std::function<void()> Next = [&] {
        if (nStep > 0) {
            double& w = worst[QString::fromLatin1(steps[nStep - 1].pszKind)];
            w = std::max(w, gaps.MaxMs());
        }
        if (nStep == steps.size()) {
            if (pDock->isHidden() || pDock->SearchField()->text() != QString())
                Die("the overview did not open or its search did not clear");
            for (auto it = worst.cbegin(); it != worst.cend(); ++it)
                Say(qPrintable(it.key() + QStringLiteral("_max_gap_ms")), it.value());
            Say("rows", pDock->Model()->rowCount());
            QApplication::quit();
            return;
        }
        gaps.Restart();
        steps[nStep++].run();
        QTimer::singleShot(300, Next);
    };
    const auto Idle = [&] {
        gaps.Start();
        QTimer::singleShot(2000, [&] {
            Say("idle_max_gap_ms", gaps.MaxMs());
            Next();
        });
    };
    const CSettleWatch settled(Idle);
    return QApplication::exec();
}

// Every kit and every instrument variation, saved without windows: it opens with one kit window.
void WriteLargestProject(const QString& strPath) {
    std::vector<std::unique_ptr<CSection>> templates;
    templates.push_back(std::make_unique<CKit>());
    templates.push_back(std::make_unique<CKick>());
    templates.push_back(std::make_unique<CSnar>());
    templates.push_back(std::make_unique<CLoTo>());
    templates.push_back(std::make_unique<CHiTo>());
    templates.push_back(std::make_unique<CHiHa>());
    templates.push_back(std::make_unique<CClap>());
    templates.push_back(std::make_unique<CRims>());
    templates.push_back(std::make_unique<CCrsh>());
    templates.push_back(std::make_unique<CRide>());
    templates.push_back(std::make_unique<CLFOs>());
    CQuenleyDoc doc;
    for (const auto& pTemplate : templates)
        for (int n = 0; n < pTemplate->Info().nVariations; ++n)
            if (!doc.FindOrCreateVariation(pTemplate.get(), n))
                Die("cannot build the project");
    QString strError;
    if (!ProjectFile::Write(strPath, doc.SaveToBytes(), strError))
        Die("cannot write the project");
}

using Report = QMap<QString, double>;

Report RunChild(const QProcessEnvironment& env, const QStringList& args, int nTimeoutMs,
                qint64* pStarted = nullptr) {
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (pStarted)
        *pStarted = BenchClock::Now();
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(nTimeoutMs)) {
        child.kill();
        child.waitForFinished(5000);
        Die(qPrintable(QStringLiteral("%1 did not finish in time").arg(args.front())));
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        Die(qPrintable(QStringLiteral("%1 failed").arg(args.front())));
    Report report;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() == 2)
            report.insert(QString::fromLatin1(parts[0]), parts[1].toDouble());
    }
    return report;
}

int Driver(int nRounds, int nWindowMs) {
    QTemporaryDir dir;
    if (!dir.isValid())
        Die("no temporary folder");
    // Settings of their own: the "SysEx file" output on channel 1, chosen by its name.
    {
        QSettings settings(dir.filePath(QStringLiteral("config/Quenley/Quenley.conf")),
                           QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/MidiOutputDeviceId"), 0);
        settings.setValue(QStringLiteral("Settings/MidiOutputDeviceCh"), 0);
        settings.setValue(QStringLiteral("Settings/MidiOutputDeviceName"),
                          QStringLiteral("SysEx file"));
    }
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    QDir().mkpath(dir.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
    const QString strProject = dir.filePath(QStringLiteral("largest.qly"));
    WriteLargestProject(strProject);

    std::printf("guibench: platform %s, %d start-up rounds, send window %d ms\n",
                qPrintable(env.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("default"))),
                nRounds, nWindowMs);

    // Alternating, so that the machine's drift hits both alike.
    std::vector<double> editorStart, bareStart, editorInit, bareInit, bareRss;
    for (int r = 0; r < nRounds; ++r) {
        qint64 nStarted = 0;
        Report bare = RunChild(env, {QStringLiteral("bare-start")}, 30000, &nStarted);
        bareStart.push_back((bare.value(QStringLiteral("painted")) - double(nStarted)) / 1e6);
        bareInit.push_back(
            (bare.value(QStringLiteral("painted")) - bare.value(QStringLiteral("main"))) / 1e6);
        bareRss.push_back(bare.value(QStringLiteral("rss")));
        Report editor = RunChild(env, {QStringLiteral("editor-start")}, 30000, &nStarted);
        editorStart.push_back((editor.value(QStringLiteral("painted")) - double(nStarted)) / 1e6);
        editorInit.push_back(
            (editor.value(QStringLiteral("painted")) - editor.value(QStringLiteral("main"))) / 1e6);
    }
    const double start = Median(editorStart);
    const double startFloor = Median(bareStart);
    std::printf("start-up to first painted main window (median, from process start):\n"
                "  quenley %8.1f ms   bare QMainWindow %8.1f ms   ratio %.2f (goal <= 1.5)\n",
                start, startFloor, start / startFloor);
    std::printf("  of which from main(): quenley %.1f ms, bare %.1f ms\n", Median(editorInit),
                Median(bareInit));

    const Report kit = RunChild(env, {QStringLiteral("kit-open"), QString::number(nRounds)}, 60000);
    std::printf("New project to the first painted kit window: first %.1f ms, median %.1f ms "
                "(%d rounds)\n",
                kit.value(QStringLiteral("kit_first_ms")),
                kit.value(QStringLiteral("kit_median_ms")), nRounds);

    const Report send = RunChild(
        env, {QStringLiteral("send"), strProject, QString::number(nWindowMs)}, nWindowMs + 60000);
    const double callGap = send.value(QStringLiteral("call_gap_ms"));
    const double afterGap = send.value(QStringLiteral("after_max_gap_ms"));
    const double stall = std::max(callGap, afterGap);
    const double idle = send.value(QStringLiteral("idle_max_gap_ms"));
    std::printf("Send project, %.0f sections, %.0f messages queued (the call took %.1f ms); "
                "%.0f sent in %d ms:\n"
                "  longest event-loop stall %8.1f ms   idle loop's longest gap %6.1f ms   "
                "ratio %.1f; goal <= 16 ms\n"
                "  (the gap around the command %.1f ms, the longest while the queue sends %.1f "
                "ms)\n",
                send.value(QStringLiteral("sections")), send.value(QStringLiteral("queued")),
                send.value(QStringLiteral("send_call_ms")),
                send.value(QStringLiteral("sent_in_window")), nWindowMs, stall, idle,
                idle > 0 ? stall / idle : 0.0, callGap, afterGap);
    if (send.value(QStringLiteral("other_messages")) > 0)
        std::printf("  the editor showed %.0f other message(s) meanwhile (see above)\n",
                    send.value(QStringLiteral("other_messages")));

    const Report rec =
        RunChild(env, {QStringLiteral("recovery"), strProject, QString::number(nWindowMs)},
                 nWindowMs + 60000);
    const double recStall = rec.value(QStringLiteral("burst_max_gap_ms"));
    const double recIdle = rec.value(QStringLiteral("idle_max_gap_ms"));
    std::printf("Recovery copies during a burst of edits: %.0f edits and %.0f copies of %.0f bytes "
                "in %d ms:\n"
                "  longest event-loop stall %8.1f ms   idle loop's longest gap %6.1f ms   "
                "ratio %.1f; goal <= 16 ms\n"
                "  (serialising a copy: median %.2f ms, longest %.2f ms; writing and syncing it "
                "on the interface's thread would take %.1f ms)\n",
                rec.value(QStringLiteral("edits")), rec.value(QStringLiteral("copies")),
                rec.value(QStringLiteral("copy_bytes")), nWindowMs, recStall, recIdle,
                recIdle > 0 ? recStall / recIdle : 0.0,
                rec.value(QStringLiteral("serialise_median_ms")),
                rec.value(QStringLiteral("serialise_max_ms")),
                rec.value(QStringLiteral("direct_write_ms")));

    const Report view = RunChild(env, {QStringLiteral("overview"), strProject}, 60000);
    const double viewIdle = view.value(QStringLiteral("idle_max_gap_ms"));
    std::printf("Project Overview of the largest project (%.0f kinds):\n"
                "  idle loop's longest gap %.1f ms; longest event-loop stall, goal <= 16 ms:\n",
                view.value(QStringLiteral("rows")), viewIdle);
    for (const char* pszStep : {"open", "type", "erase", "change"}) {
        const double gap = view.value(QStringLiteral("%1_max_gap_ms").arg(QLatin1String(pszStep)));
        std::printf("  %-45s %8.1f ms   ratio %.1f\n",
                    pszStep == std::string_view("open")    ? "opening it"
                    : pszStep == std::string_view("type")  ? "one filter keystroke (\"kick 12\")"
                    : pszStep == std::string_view("erase") ? "one erasing keystroke, back to all"
                                                           : "a change announced by the project",
                    gap, viewIdle > 0 ? gap / viewIdle : 0.0);
    }

    const double rss = send.value(QStringLiteral("rss"));
    const double rssFloor = Median(bareRss);
    std::printf("resident memory: largest project with its kit window %.0f KiB   bare "
                "QMainWindow %.0f KiB   ratio %.2f (goal <= 1.5)\n",
                rss, rssFloor, rss / rssFloor);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const QString strMode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (strMode == QLatin1String("bare-start"))
        return ChildBareStart(argc, argv);
    if (strMode == QLatin1String("editor-start"))
        return ChildEditorStart(argc, argv);
    if (strMode == QLatin1String("kit-open") && argc > 2)
        return ChildKitOpen(argc, argv, std::max(1, std::atoi(argv[2])));
    if (strMode == QLatin1String("send") && argc > 3)
        return ChildSend(argc, argv, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    if (strMode == QLatin1String("overview") && argc > 2)
        return ChildOverview(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (strMode == QLatin1String("recovery") && argc > 3)
        return ChildRecovery(argc, argv, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    // quenley-guibench [ROUNDS [SEND_WINDOW_MS]]
    QCoreApplication app(argc, argv);
    const int nRounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;
    const int nWindowMs = argc > 2 ? std::max(1000, std::atoi(argv[2])) : 5000;
    return Driver(nRounds, nWindowMs);
}
