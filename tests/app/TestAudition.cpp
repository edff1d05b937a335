// Play and Play after each change on the scripted port: the notes' bytes and their place behind
// the values waiting, the status line for a sound the module does not play, the kit pattern, and
// the Audition settings and their dialog.

#include "AppFixture.h"
#include "CAudition.h"
#include "CAuditionDlg.h"
#include "CMdiClient.h"
#include "KitViewTestUtil.h"
#include "TestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>

using Commands::ECommand;

namespace {

CKick s_kick;

constexpr unsigned kKickDecayKnob = 2600;
constexpr unsigned kKickDecayLcd = 2535;
constexpr unsigned kKickVelocLamp = 2505;

// The notes the port was given since the mark: Note On and Note Off messages only.
QList<QByteArray> NotesSince(const CMidiScript& script, std::size_t nMark) {
    QList<QByteArray> notes;
    for (std::size_t i = nMark; i < script.sent.size(); ++i)
        if (script.sent[i].size() == 3 && (uchar(script.sent[i][0]) & 0xE0) == 0x80)
            notes << script.sent[i];
    return notes;
}
QByteArray Bytes(int a, int b, int c) {
    const char bytes[] = {char(a), char(b), char(c)};
    return QByteArray(bytes, 3);
}
QList<QByteArray> NoteOnOff(int nChannel, int nNote, int nVelocity) {
    return {Bytes(0x90 | nChannel, nNote, nVelocity), Bytes(0x80 | nChannel, nNote, 0x40)};
}

void WriteAudition(const QVariantMap& values) {
    QSettings settings;
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(QStringLiteral("Audition/") + it.key(), it.value());
    settings.sync();
}

// The port has told that it is open, and nothing waits.
bool PortReady(const CAppFixture& f) {
    return f.Midi().IsOpen() && !f.Midi().IsClosed() && f.Midi().QueueLength() == 0;
}

// A project with Kick 3 and Kick 7 (nActive of them active, 0 for none), the port open (unless
// not bOpen) and idle, and a kick window on Kick 7 as the active window.
CDView* KickWindow(CAppFixture& f, int nActive, bool bOpen = true, unsigned nLinkChannel = 0) {
    CAppFixture::ChooseDevice(0, QStringLiteral("Scripted A"), nLinkChannel);
    f.Start();
    f.App().OnFileNew();
    // Typing into a read-out needs the main window active.
    if (!f.ActivateFrame())
        return nullptr;
    for (int n : {3, 7})
        f.Doc()->FindOrCreateVariation(&s_kick, n);
    if (nActive)
        f.Doc()->MakeActive(Kinds::kKick, nActive);
    if (bOpen) {
        f.Press(ECommand::Activate);
        if (!QTest::qWaitFor([&f] { return PortReady(f); }))
            return nullptr;
    }
    if (!f.Frame().ShowSection({Kinds::kKick, 7}))
        return nullptr;
    CDView* pView = f.Frame().ActiveView();
    return pView && pView->GetViewType() == 3 ? pView : nullptr;
}

// The steps of a gesture with the event loop running between them, as a hand makes them.
void WheelRun(QWidget* pControl, int nNotches) {
    const QPointF at(pControl->width() / 2.0, pControl->height() / 2.0);
    for (int i = 0; i < nNotches; ++i) {
        QWheelEvent event(at, pControl->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pControl, &event);
        QTest::qWait(CDView::kRunQuietMs / 6);
    }
}
void Drag(QWidget* pControl, int nSteps) {
    QPoint at(pControl->width() / 2, pControl->height() / 2);
    // The controls count from the last pointer position they saw.
    QTest::mouseMove(pControl, at + QPoint(0, 5));
    QTest::mouseMove(pControl, at);
    QTest::mousePress(pControl, Qt::LeftButton, {}, at);
    for (int i = 0; i < nSteps; ++i) {
        at -= QPoint(0, 3);
        QTest::mouseMove(pControl, at);
        QTest::qWait(CDView::kRunQuietMs / 6);
    }
    QTest::mouseRelease(pControl, Qt::LeftButton, {}, at);
}

} // namespace

class TestAudition : public QObject {
    Q_OBJECT

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // Play in a kick window: Note On and, a length later, Note Off, with the settings' note
    // and velocity, on the settings' channel or else the link's.
    void playSendsTheKicksNote_data() {
        QTest::addColumn<QVariantMap>("settings");
        QTest::addColumn<int>("nLinkChannel");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::newRow("defaults") << QVariantMap{} << 0 << NoteOnOff(0, 36, 100);
        QTest::newRow("note and velocity")
            << QVariantMap{{"Kick", 35}, {"Velocity", 127}, {"Snare", 60}} << 0
            << NoteOnOff(0, 35, 127);
        QTest::newRow("link's channel") << QVariantMap{{"Channel", 0}} << 9 << NoteOnOff(9, 36, 100);
        QTest::newRow("own channel")
            << QVariantMap{{"Channel", 16}, {"LengthMs", 40}} << 9 << NoteOnOff(15, 36, 100);
    }
    void playSendsTheKicksNote() {
        QFETCH(QVariantMap, settings);
        QFETCH(int, nLinkChannel);
        QFETCH(QList<QByteArray>, expected);
        WriteAudition(settings);
        CAppFixture f;
        QVERIFY(KickWindow(f, 7, true, unsigned(nLinkChannel)));
        const std::size_t nMark = f.m_pScript->sent.size();
        QVERIFY(f.Action(ECommand::Play)->isEnabled());
        f.Trigger(ECommand::Play);
        QTRY_COMPARE(NotesSince(*f.m_pScript, nMark), expected);
        QCOMPARE(f.m_pScript->sent.size(), nMark + 2);
    }

    // The note goes behind the values still waiting, so it sounds with them.
    void playFollowsTheWaitingValues() {
        CAppFixture f;
        CDView* pKick = KickWindow(f, 7);
        QVERIFY(pKick);
        const std::size_t nMark = f.m_pScript->sent.size();
        f.answers.push_back(QuenleyMessage::EAnswer::Yes);
        f.Trigger(ECommand::SendVariation);
        OperateControl(*pKick, kKickDecayLcd, QStringLiteral("040"));
        QVERIFY(f.Midi().QueueLength() >= 2);
        f.Trigger(ECommand::Play);
        QTRY_COMPARE(NotesSince(*f.m_pScript, nMark).size(), 2);
        // The block, the Decay value, then the note.
        const std::vector<QByteArray>& sent = f.m_pScript->sent;
        QCOMPARE(sent.size(), nMark + 4);
        QVERIFY(sent[nMark].size() > 3 && sent[nMark + 1].size() > 3);
        QCOMPARE(sent[nMark + 2], NoteOnOff(0, 36, 100).first());
    }

    // The module plays a kind's active variation: Play says so when that is not the window's,
    // and moves no mark; with the port closed nothing is sent or kept and the line says why.
    void playSaysWhatTheModuleSounds_data() {
        QTest::addColumn<int>("nActive");
        QTest::addColumn<bool>("bOpen");
        QTest::addColumn<QString>("strStatus");
        QTest::addColumn<int>("nNotes");
        QTest::newRow("another one active")
            << 3 << true << "the module plays Kick 003; make Kick 007 active to hear it" << 2;
        QTest::newRow("none active") << 0 << true << "no Kick is active; make Kick 007 active to hear it"
                                     << 2;
        QTest::newRow("the window's active") << 7 << true << "" << 2;
        QTest::newRow("port closed")
            << 3 << false << "Midi is not active: activate it to hear Kick 007." << 0;
    }
    void playSaysWhatTheModuleSounds() {
        QFETCH(int, nActive);
        QFETCH(bool, bOpen);
        QFETCH(QString, strStatus);
        QFETCH(int, nNotes);
        CAppFixture f;
        QVERIFY(KickWindow(f, nActive, bOpen));
        const QByteArray before = f.Doc()->SaveToBytes();
        f.Frame().statusBar()->clearMessage();
        const std::size_t nMark = f.m_pScript->sent.size();
        const int nWaiting = f.Midi().QueueLength();
        f.Trigger(ECommand::Play);
        QCOMPARE(f.Frame().statusBar()->currentMessage(), strStatus);
        QTRY_COMPARE(NotesSince(*f.m_pScript, nMark).size(), nNotes);
        if (!bOpen)
            QCOMPARE(f.Midi().QueueLength(), nWaiting);
        CSection* pActive = f.Doc()->FindActiveVariationOfKind(Kinds::kKick);
        QCOMPARE(pActive ? pActive->GetNumber() : 0, nActive);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
    }

    // A kit window plays the instruments one after another, in kind order; an LFO window plays
    // nothing, nor does Play without an editor window.
    void kitPatternAndLfoWindow() {
        CAppFixture f;
        f.StartWithProject();
        f.Press(ECommand::Activate);
        QTRY_VERIFY(PortReady(f));
        QCOMPARE(f.Frame().ActiveView()->GetViewType(), 2);
        const std::size_t nMark = f.m_pScript->sent.size();
        f.Trigger(ECommand::Play);
        // Each Note Off comes on its own clock: the Note Ons' order is the pattern.
        QList<QByteArray> ons;
        for (int nNote : SAuditionSettings::kDefaultNotes)
            ons << NoteOnOff(0, nNote, 100).first();
        const auto Notes = [&](int nStatus) {
            QList<QByteArray> list = NotesSince(*f.m_pScript, nMark);
            list.removeIf([nStatus](const QByteArray& b) { return uchar(b[0]) != nStatus; });
            return list;
        };
        QTRY_COMPARE(Notes(0x90), ons);
        QTRY_COMPARE(Notes(0x80).size(), ons.size());
        QVERIFY(!f.Frame().Audition().IsPatternRunning());

        f.Trigger(ECommand::OpenLfos);
        QCOMPARE(f.Frame().ActiveView()->GetViewType(), 12);
        QVERIFY(!f.Action(ECommand::Play)->isEnabled());
        f.Frame().MdiClient()->closeAllSubWindows();
        QVERIFY(!f.Action(ECommand::Play)->isEnabled());
    }

    // With Play after each change on, a drag, a wheel run, a typed value and a lamp click each
    // play the sound once, when they end; off, nothing plays.
    void playAfterEachGesture_data() {
        QTest::addColumn<bool>("bOn");
        QTest::addColumn<QString>("strGesture");
        QTest::addColumn<int>("nNotes");
        for (const char* psz : {"drag", "wheel", "typed", "lamp"})
            QTest::addRow("%s", psz) << true << psz << 2;
        QTest::newRow("off") << false << "drag" << 0;
    }
    void playAfterEachGesture() {
        QFETCH(bool, bOn);
        QFETCH(QString, strGesture);
        QFETCH(int, nNotes);
        WriteAudition({{"PlayAfterChange", bOn}});
        CAppFixture f;
        CDView* pKick = KickWindow(f, 7);
        QVERIFY(pKick);
        const std::size_t nMark = f.m_pScript->sent.size();
        if (strGesture == QLatin1String("drag"))
            Drag(pKick->Control(kKickDecayKnob), 6);
        else if (strGesture == QLatin1String("wheel"))
            WheelRun(pKick->Control(kKickDecayKnob), 6);
        else if (strGesture == QLatin1String("typed"))
            OperateControl(*pKick, kKickDecayLcd, QStringLiteral("040"));
        else
            OperateControl(*pKick, kKickVelocLamp);
        QVERIFY(f.m_pScript->sent.size() > nMark || f.Midi().QueueLength() > 0);
        QTRY_COMPARE(NotesSince(*f.m_pScript, nMark).size(), nNotes);
        // Nothing more once the run's quiet time and the shortest gap between plays are over.
        QTest::qWait(CDView::kRunQuietMs + CAudition::kMinAutoGapMs + 100);
        QCOMPARE(NotesSince(*f.m_pScript, nMark).size(), nNotes);
    }

    // The dialog's choices are kept on OK only; a value out of range in the file counts as its
    // default.
    void settingsDialogAndDamagedValues_data() {
        QTest::addColumn<bool>("bOk");
        QTest::addRow("OK") << true;
        QTest::addRow("Cancel") << false;
    }
    void settingsDialogAndDamagedValues() {
        QFETCH(bool, bOk);
        WriteAudition({{"Kick", 200}, {"Velocity", 0}, {"LengthMs", "x"}, {"Channel", 17},
                       {"Snare", 40}});
        SAuditionSettings expected;
        expected.notes[1] = 40;
        QCOMPARE(SAuditionSettings::Load(), expected);

        CAppFixture f;
        f.StartWithProject();
        bool bShown = false;
        QTimer::singleShot(0, [&] {
            auto* pDialog = qobject_cast<CAuditionDlg*>(QApplication::activeModalWidget());
            if (!pDialog)
                return;
            bShown = pDialog->NoteBox(1)->value() == 40 && pDialog->VelocityBox()->value() == 100;
            pDialog->NoteBox(2)->setValue(47);
            pDialog->VelocityBox()->setValue(90);
            pDialog->LengthBox()->setValue(500);
            pDialog->ChannelBox()->setCurrentIndex(10);
            pDialog->AfterChangeBox()->setChecked(true);
            bOk ? pDialog->accept() : pDialog->reject();
        });
        f.Trigger(ECommand::Audition);
        QVERIFY(bShown);
        if (bOk) {
            expected.notes[2] = 47;
            expected.nVelocity = 90;
            expected.nLengthMs = 500;
            expected.nChannel = 10;
            expected.bPlayAfterChange = true;
        }
        QCOMPARE(SAuditionSettings::Load(), expected);
    }
};

QUENLEY_REGISTER_TEST(TestAudition)
#include "TestAudition.moc"
