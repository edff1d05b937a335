#pragma once

#include "SectionKey.h"

#include <QObject>
#include <QString>

#include <vector>

class CMainFrame;
class CMidiWnd;
class CModuleRecordKeeper;
class CQuenleyApp;
class CSection;
class CSysExReader;

// The commands of the MIDI link: opening, closing and resetting the port, sending the active
// variation or the whole project, clearing the queue, the device dialog and the dumps, with
// their questions and messages. The main window hands them its menu and toolbar and shows
// what they report on its status bar and toolbar pair.
class CMidiCommands : public QObject {
    Q_OBJECT

public:
    CMidiCommands(CQuenleyApp* pApp, CMainFrame* pFrame);

    // Starts following the MIDI link's port failures and lost devices.
    void AttachMidi(CMidiWnd* pMidiWnd);

    void SendVariation();
    void SendProject();
    // Send project for the chosen sections only, without asking: the user picked them.
    void SendSections(const std::vector<SSectionKey>& keys);
    // Sends the project's values the module does not hold as far as its record knows.
    void SendChanges();
    // Drops the record of the chosen device and channel, for a module changed at its panel.
    void ForgetModule();
    // Asks where the dump comes from: the module, through the chosen input, or a file.
    void ReceiveDump();
    void TransmitDump();
    // Transmit Dump of the chosen sections only.
    void TransmitDumpOf(const std::vector<SSectionKey>& keys);
    // The Receive Dump question for the bytes of a .syx file, and on OK the dump taken into the
    // open project as one step of its history. True when it was taken.
    bool ReceiveDumpBytes(const QByteArray& bytes);
    void ClearBuffer();
    void Activate();
    // Opens the port as Activate does, when the settings ask for it at start-up: without a
    // project, and without a word when no device is chosen.
    void ActivateAtStart();
    void Deactivate();
    void ResetPort();
    void DeviceDialog();
    void InputDeviceDialog();

    // The port reported itself opened or closed.
    void OnPortOpened();
    void OnPortClosed();

    QString PortText() const;
    QString QueueText() const;
    // While the port is open: whether the module holds the project ("module in step"), or how
    // many values it lacks.
    QString ModuleText() const;
    CModuleRecordKeeper* ModuleRecord() const { return m_pRecord; }
    // Messages wait in the queue.
    bool IsSending() const;

private:
    // Activate's open, with its messages when nothing is chosen or the open fails.
    void OpenPort();
    // A device and a channel are chosen, the device perhaps missing at the moment.
    bool IsPortChosen() const;
    void OnSendFailed(unsigned nResult);
    void OnDeviceGone(const QString& strDevice, int nKept);
    // The chosen device's name, also while it is not plugged in.
    QString DeviceName() const;
    // Why the last open failed: the driver's own words when it gave some.
    QString OpenFailureText() const;
    // Where a dump file of the project is suggested: beside it, under its name.
    QString DumpFileSuggestion() const;
    bool IsPortOpen() const;
    // Transmit Dump of the project, or of the selection when one is given.
    void WriteDump(const std::vector<SSectionKey>* pSelection);
    void ReceiveDumpFromFile();
    // Opens the chosen input only while the receive window is up.
    void ReceiveDumpFromModule();
    // The Receive Dump question for what the reader took in; true when it was taken.
    bool TakeDump(const CSysExReader& reader);
    // Why a section cannot be sent, naming it.
    static QString SendFaultText(const CSection& section);
    // The sections a send or a dump left out, one a line, the first few of them.
    static QString SkippedText(const std::vector<const CSection*>& skipped);

    CQuenleyApp* m_pApp;
    CMainFrame* m_pFrame;
    CMidiWnd* m_pMidiWnd = nullptr;
    CModuleRecordKeeper* m_pRecord = nullptr; // owned by the MIDI link
    bool m_bSendFailureShown = false;
};
