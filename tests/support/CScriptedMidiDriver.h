#pragma once

#include "CMidiOutDriver.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <deque>
#include <memory>
#include <string>
#include <vector>

// What the scripted driver was told and what it will answer. The test keeps a shared pointer
// to it after the driver itself has gone into the object under test.
struct CMidiScript : std::enable_shared_from_this<CMidiScript> {
    // Devices the driver lists.
    std::vector<std::string> deviceNames{"Scripted A", "Scripted B", "Scripted C"};

    // Results the driver answers with; anything but 0 refuses the call.
    MMRESULT nOpenResult = MMSYSERR_NOERROR;
    // What the driver says about a refused open (LastOpenError).
    std::string strOpenError;
    MMRESULT nCloseResult = MMSYSERR_NOERROR;
    MMRESULT nResetResult = MMSYSERR_NOERROR;
    MMRESULT nShortResult = MMSYSERR_NOERROR;
    MMRESULT nPrepareResult = MMSYSERR_NOERROR;
    MMRESULT nLongResult = MMSYSERR_NOERROR;
    MMRESULT nUnprepareResult = MMSYSERR_NOERROR;

    // In auto mode notifications are delivered by the event loop soon after the call that
    // caused them, and long messages complete on their own; otherwise the test delivers them.
    bool bAuto = false;

    // Every call, in order, as text ("open 1", "short B0 7B 00", "long F0 .. F7", "close", ...).
    QStringList calls;
    // The bytes of every short and long message handed to the port, in order.
    std::vector<QByteArray> sent;
    bool bOpen = false;
    int nLiveHeaders = 0; // prepared and not yet unprepared

    // Long messages handed over and not yet completed, oldest first.
    std::deque<DMidiHeader*> inFlight;

    // Moves the oldest message in flight to the notifications due; false when none.
    bool Complete();
    // The long messages handed to the port from the nMark-th message on, in order.
    QList<QByteArray> LongsSince(std::size_t nMark) const;
    // The device goes away under the open port: what it holds comes back failed for want of a
    // device, and every later message is refused with MIDIERR_NODEVICE until the next open.
    void Vanish();
    bool bGone = false;
    // Delivers the oldest due notification to the callback; false when none is due.
    bool Deliver();
    int DeliverAll();
    int PendingCount() const { return static_cast<int>(pending.size()); }

    // Internals shared with the port.
    struct Note {
        EMidiNotify eNotify;
        DMidiHeader* pHeader;
    };
    std::deque<Note> pending;
    MidiOutProc pProc = nullptr;
    void* pInstance = nullptr;
    void Due(EMidiNotify eNotify, DMidiHeader* pHeader);
};

// A driver for tests: records every call, refuses on demand and delivers its notifications when
// the test says so.
class CScriptedMidiDriver : public CMidiOutDriver {
public:
    explicit CScriptedMidiDriver(std::shared_ptr<CMidiScript> pScript);

    unsigned GetNumDevs() override;
    MMRESULT GetDevName(unsigned nId, std::string& strName) override;
    MMRESULT Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId, MidiOutProc pProc,
                  void* pInstance) override;
    std::string LastOpenError() const override;

private:
    std::shared_ptr<CMidiScript> m_pScript;
};

// Hex text of bytes, "F0 31 .. F7".
QString HexBytes(const QByteArray& bytes);
