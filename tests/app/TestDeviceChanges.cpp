// MIDI outputs that come and go while the editor runs: the device dialog reads the list afresh,
// the chosen device is found again by name, and a device that vanishes under the open port
// closes it without sending what waits anywhere else.

#include "AppFixture.h"
#include "CMidiOutDeviceDlg.h"
#include "CSysExItem.h"
#include "TestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

using Commands::ECommand;

namespace {

CKick s_kick;

QStringList Listed(const CMidiOutDeviceDlg& dialog) {
    QStringList names;
    for (int i = 0; i < dialog.DeviceList()->count(); ++i)
        names << dialog.DeviceList()->item(i)->text();
    return names;
}

QStringList Opens(const CMidiScript& script) {
    return script.calls.filter(QStringLiteral("open"));
}

// The long messages the driver took, in order.
QList<QByteArray> LongSent(const CMidiScript& script) {
    QList<QByteArray> list;
    for (const QByteArray& b : script.sent)
        if (b.size() > 3)
            list << b;
    return list;
}

} // namespace

class TestDeviceChanges : public QObject {
    Q_OBJECT

    static bool DeactivatePressed(const CAppFixture& f) {
        return f.Button(ECommand::Deactivate)->isChecked();
    }

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // Each opening shows the devices there now, the chosen one found by name; Refresh reads
    // again and keeps a line picked but not yet confirmed, and the channel typed.
    void dialogReadsTheListEachTimeItOpens() {
        CAppFixture::ChooseDevice(1, QStringLiteral("Scripted B"), 2);
        CAppFixture f;
        QVERIFY(f.Start());
        f.m_pScript->deviceNames = {"Scripted B", "New Synth"};
        {
            CMidiOutDeviceDlg dialog(&f.Midi(), &f.Frame());
            QCOMPARE(Listed(dialog), QStringList({"Scripted B", "New Synth"}));
            QCOMPARE(dialog.SelectedText()->text(), QStringLiteral("Scripted B"));
            QVERIFY(dialog.RefreshButton()->isEnabled());
            QVERIFY(dialog.NoteText()->isHidden());
            QCOMPARE(f.Midi().GetMidiDevice(), 0u);
        }
        f.m_pScript->deviceNames = {"Late", "New Synth", "Scripted B"};
        CMidiOutDeviceDlg dialog(&f.Midi(), &f.Frame());
        QCOMPARE(Listed(dialog), QStringList({"Late", "New Synth", "Scripted B"}));
        QCOMPARE(f.Midi().GetMidiDevice(), 2u);
        dialog.DeviceList()->setCurrentRow(1);
        dialog.ChannelEdit()->setText(QStringLiteral("7"));
        f.m_pScript->deviceNames = {"Drum Brain", "Late", "New Synth", "Scripted B"};
        QTest::mouseClick(dialog.RefreshButton(), Qt::LeftButton);
        QCOMPARE(Listed(dialog), QStringList({"Drum Brain", "Late", "New Synth", "Scripted B"}));
        QCOMPARE(dialog.DeviceList()->currentItem()->text(), QStringLiteral("New Synth"));
        QCOMPARE(dialog.SelectedText()->text(), QStringLiteral("New Synth"));
        QCOMPARE(dialog.ChannelEdit()->text(), QStringLiteral("7"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.Midi().GetMidiDevice(), 2u);
        QCOMPARE(f.Midi().GetMidiChannel(), 6);
        f.App().ExitInstance();
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceName").toString(),
                 QStringLiteral("New Synth"));
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceId").toUInt(), 2u);
    }

    // "Activate at start" is off until the user checks it; OK keeps it in the settings, Cancel
    // changes nothing, and the dialog shows what is kept.
    void dialogKeepsActivateAtStart() {
        CAppFixture f;
        QVERIFY(f.Start());
        bool bShownChecked = true;
        const auto Answer = [&](bool bCheck, bool bOk) {
            QTimer::singleShot(0, [&, bCheck, bOk] {
                auto* pDialog = qobject_cast<CMidiOutDeviceDlg*>(QApplication::activeModalWidget());
                QVERIFY(pDialog);
                bShownChecked = pDialog->ActivateAtStartBox()->isChecked();
                if (bCheck)
                    pDialog->ActivateAtStartBox()->click();
                bOk ? pDialog->accept() : pDialog->reject();
            });
            f.Trigger(ECommand::OutputDevice);
        };
        Answer(true, false);
        QVERIFY(!bShownChecked);
        QVERIFY(!f.App().ActivateAtStart());
        Answer(true, true);
        QVERIFY(!bShownChecked);
        QVERIFY(f.App().ActivateAtStart());
        QCOMPARE(CAppFixture::Setting("ActivateAtStart").toBool(), true);
        Answer(false, false);
        QVERIFY(bShownChecked);
        QVERIFY(f.App().ActivateAtStart());
    }

    // A saved device unplugged at start-up is named as missing, is chosen again as soon as the
    // dialog finds it, and an unplugging afterwards does not erase it from the settings.
    void savedDeviceIsFoundAgainWhenPluggedIn() {
        CAppFixture::ChooseDevice(3, QStringLiteral("Keyboard Out"), 4);
        CAppFixture f;
        QVERIFY(f.Start());
        QVERIFY(!f.Midi().IsReady());
        QCOMPARE(f.Frame().MidiCommands().PortText(),
                 QStringLiteral("Keyboard Out, channel 5: not found"));
        {
            CMidiOutDeviceDlg dialog(&f.Midi(), &f.Frame());
            QCOMPARE(dialog.SelectedText()->text(), QStringLiteral("Keyboard Out (not found)"));
        }
        f.m_pScript->deviceNames = {"Scripted A", "Keyboard Out"};
        {
            CMidiOutDeviceDlg dialog(&f.Midi(), &f.Frame());
            QCOMPARE(dialog.SelectedText()->text(), QStringLiteral("Keyboard Out"));
            dialog.reject();
        }
        QVERIFY(f.Midi().IsReady());
        QCOMPARE(f.Midi().GetMidiDevice(), 1u);
        f.App().OnFileNew();
        QVERIFY(f.Doc());
        QVERIFY(f.shown.empty());
        f.Frame().UpdateStatusPanes();
        QCOMPARE(f.Frame().findChild<QLabel*>(QStringLiteral("PortPane"))->text(),
                 QStringLiteral("Keyboard Out, channel 5: closed"));

        f.m_pScript->deviceNames = {"Scripted A"};
        { CMidiOutDeviceDlg again(&f.Midi(), &f.Frame()); }
        QVERIFY(!f.Midi().IsReady());
        f.App().ExitInstance();
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceName").toString(),
                 QStringLiteral("Keyboard Out"));
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceCh").toUInt(), 4u);
        QCOMPARE(CAppFixture::Setting("MidiOutputDeviceId").toUInt(), 3u);
    }

    // An open port may be carrying the user's playing: the dialog shows the list it has, says
    // why it cannot read it again, and lets the channel change but not the port's device, so
    // the status bar and a later message about the device always name the one that is open.
    void dialogLeavesAnOpenPortAlone() {
        CAppFixture f;
        f.StartWithProject();
        f.Press(ECommand::Activate);
        QTRY_VERIFY(!f.Midi().IsClosed());
        f.m_pScript->deviceNames = {"Other"};
        CMidiOutDeviceDlg dialog(&f.Midi(), &f.Frame());
        QCOMPARE(Listed(dialog), QStringList({"Scripted A", "Scripted B", "Scripted C"}));
        QVERIFY(!dialog.RefreshButton()->isEnabled());
        QVERIFY(!dialog.NoteText()->isHidden());
        QVERIFY(dialog.NoteText()->text().contains(QStringLiteral("Deactivate")));
        QVERIFY(!dialog.DeviceList()->isEnabled());
        QVERIFY(dialog.ChannelEdit()->isEnabled());
        dialog.ChannelEdit()->setText(QStringLiteral("3"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.Midi().GetMidiDevice(), 0u);
        QCOMPARE(f.Midi().GetMidiChannel(), 2);
        QVERIFY(f.Midi().IsOpen());
        QCOMPARE(f.Frame().MidiCommands().PortText(),
                 QStringLiteral("Scripted A, channel 3: open"));
    }

    // The device goes while the port is open: one message names it and says how many messages
    // are kept; the toolbar and status bar show the port closed; the kept messages never go to
    // another device, and go out in order once the device is back.
    void vanishedDeviceClosesThePort() {
        CAppFixture f;
        f.StartWithProject();
        f.Press(ECommand::Activate);
        QTRY_VERIFY(!f.Midi().IsClosed());
        f.m_pScript->Vanish();
        for (int n : {1, 2, 3})
            f.Doc()->FindOrCreateVariation(&s_kick, n)->SetParam(0, 10 + n);
        QList<QByteArray> waiting;
        for (auto it = f.Midi().Queue().rbegin(); it != f.Midi().Queue().rend(); ++it)
            waiting << QByteArray(reinterpret_cast<const char*>((*it)->pBuffer.get()), (*it)->nLength);
        QCOMPARE(waiting.size(), 3);
        const QString strGone =
            QStringLiteral("The MIDI output \"Scripted A\" is no longer there, so the port was "
                           "closed.");
        QTRY_COMPARE(int(f.shown.size()), 1);
        QCOMPARE(f.Texts().front(),
                 strGone + QStringLiteral("\n3 messages waiting to be sent are kept: they go "
                                          "out when the port is opened again, or Clear buffer "
                                          "drops them."));
        QTRY_VERIFY(f.Midi().IsClosed());
        QVERIFY(DeactivatePressed(f));
        QCOMPARE(f.Frame().statusBar()->currentMessage(), strGone);
        QCOMPARE(f.Frame().findChild<QLabel*>(QStringLiteral("PortPane"))->text(),
                 QStringLiteral("Scripted A, channel 1: closed"));
        QCOMPARE(f.Frame().MidiCommands().QueueText(),
                 QStringLiteral("3 messages waiting for the port"));
        QVERIFY(LongSent(*f.m_pScript).isEmpty());

        // Unplugged: another device has moved into its place, and is not opened instead.
        f.m_pScript->deviceNames = {"Scripted B", "Scripted C"};
        f.Press(ECommand::Activate);
        QCOMPARE(f.Texts().back(),
                 QStringLiteral("The MIDI output \"Scripted A\" could not be opened: the device "
                                "is no longer there."));
        QCOMPARE(Opens(*f.m_pScript), QStringList({"open 0"}));
        QVERIFY(DeactivatePressed(f));
        QCOMPARE(f.Midi().QueueLength(), 3);

        // Plugged in again elsewhere in the list.
        f.m_pScript->deviceNames = {"Scripted B", "Scripted A"};
        f.Press(ECommand::Activate);
        QCOMPARE(Opens(*f.m_pScript), QStringList({"open 0", "open 1"}));
        QTRY_COMPARE(f.Midi().QueueLength(), 0);
        QCOMPARE(LongSent(*f.m_pScript), waiting);
        QCOMPARE(int(f.shown.size()), 2);
    }
};

QUENLEY_REGISTER_TEST(TestDeviceChanges)
#include "TestDeviceChanges.moc"
