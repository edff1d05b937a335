#pragma once

#include "CDMidi.h"
#include "CTransmitQueue.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QtGlobal>

#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

class CSysExItem;

// The transmit queue and its send loop. Messages are sent oldest first, one in flight at a time,
// the next as soon as the driver reports the previous one done; a newer message for the same
// parameter replaces a waiting older one. While the port is closed messages collect. Before each
// block message the loop pauses 200 ms (the module needs it to take a whole block), without
// holding up the user interface.
class CMidiWnd : public QObject, public CDMidi, public CTransmitQueue {
    Q_OBJECT
public:
    explicit CMidiWnd(std::unique_ptr<CMidiOutDriver> pDriver = nullptr);
    ~CMidiWnd() override;

    // The parent (the main frame) is told when the port opens and closes.
    bool Create(QObject* pParent);

    bool AddSysExBuffer(std::unique_ptr<CSysExItem> pItem);
    // The sections' way in: each message becomes an entry with its keys.
    int MessageChannel() const override { return GetMidiChannel(); }
    bool QueueMessage(const SWhat& what, std::unique_ptr<std::uint8_t[]> pBytes,
                      int nLength) override;
    // A note for hearing the module: its Note On goes behind every message waiting now and is
    // written the moment its turn comes (it has no pause of its own); its Note Off follows
    // nLengthMs after the Note On was written, on time even while a later block waits out its
    // pause. A newer note of the same channel and key replaces one still waiting. Channel
    // 0..15, key and velocity 0..127. False, with nothing queued, while the port is not open.
    bool QueueNote(int nChannel, int nKey, int nVelocity, int nLengthMs);
    void DestroySysExList();
    // Drops the queue and closes the port, also while the port is still busy with a message:
    // it is reset, and when it has handed back what it held the close follows. Until then
    // nothing more is handed to it, and what is queued meanwhile waits for the next open.
    void CloseAndClear();
    // A close asked for by CloseAndClear waits for the port to hand its messages back.
    bool IsClosing() const { return m_bClosing; }

    bool IsIdle() const { return m_bIdle; }
    bool IsClosed() const { return m_bClosed; }
    int QueueLength() const { return static_cast<int>(m_SysExList.size()); }
    // The queue from newest (head) to oldest (tail).
    const std::list<std::unique_ptr<CSysExItem>>& Queue() const { return m_SysExList; }

    // Opens nothing: asks the driver to hand back what it holds. A message handed back by this
    // reset is not reported as failed.
    bool ResetPort();

    // Milliseconds the waiting messages still need, pauses included, at cable speed.
    qint64 EstimatedMsLeft() const;

    static constexpr int kBlockPauseMs = 200;

signals:
    // The driver refused a message (it waits for the next open), or reported one it had taken
    // as not delivered. nResult is the driver's result code.
    void SendFailed(unsigned nResult);
    // The device went away while the port was open. The port has been closed; nKept messages
    // still wait in the queue (none went elsewhere) and go out when the port opens again.
    void DeviceGone(const QString& strDevice, int nKept);
    // Entries were added, sent or dropped.
    void QueueChanged();
    // The port reported this message delivered. The bytes are valid during the call only.
    void MessageConfirmed(const QByteArray& bytes);
    // What the module holds is no longer known: the port was reset, a message failed, or
    // messages waiting or in flight were dropped or held back by a close.
    void ModuleInDoubt();

protected:
    bool event(QEvent* pEvent) override;

    bool SendSysExBuffer();
    bool RemoveSysExBuffer();
    // Hands the paused tail entry to the driver once the pause is over.
    void SendAfterPause();
    // Gives the tail entry to the driver; a refusal is reported.
    bool HandOver(CSysExItem* pItem);

    // The tail entry was not delivered: it waits again as if never handed over.
    void KeepTail();
    // Stops the loop, closes the port and says so once.
    void OnDeviceGone();
    // The close CloseAndClear could not do at once, once the port has given everything back.
    void FinishClosing();
    static bool MeansDeviceGone(MMRESULT nResult);
    // Writes the note at the tail and takes it off the queue; false when the device went.
    bool PlayTailNote();
    // Writes the Note Offs that are due, or all of them; none is kept for a later open.
    void WriteNoteOffs(bool bAll);
    void ScheduleNoteOffs();

    bool m_bIdle = true;
    bool m_bClosed = true;
    std::list<std::unique_ptr<CSysExItem>> m_SysExList; // front = head = newest

private:
    // The waiting (not yet handed over) entry of each key, so that a newer message finds the
    // one it replaces at once however long the queue is.
    struct SKey {
        std::int32_t nSection;
        std::int32_t nVariation;
        std::int32_t nParam;
        bool operator==(const SKey&) const = default;
    };
    struct SKeyHash {
        std::size_t operator()(const SKey& k) const {
            return std::hash<std::uint64_t>()((std::uint64_t(std::uint32_t(k.nSection)) << 40) ^
                                              (std::uint64_t(std::uint32_t(k.nVariation)) << 20) ^
                                              std::uint32_t(k.nParam));
        }
    };
    static SKey KeyOf(const CSysExItem& item);
    std::unordered_map<SKey, std::list<std::unique_ptr<CSysExItem>>::iterator, SKeyHash> m_waiting;

    // Forgets the waiting entry of the item's keys when it is this item.
    void Unkey(const CSysExItem& item);

    struct SNoteOff {
        qint64 nDueMs; // on m_clock
        std::uint32_t nMsg;
    };
    std::vector<SNoteOff> m_noteOffs;
    QTimer m_noteOffTimer;
    QElapsedTimer m_clock;
    std::uint64_t m_nSeq = 0;
    std::uint64_t m_nLastNoteSeq = 0; // the newest note queued

    QPointer<QObject> m_pParentWnd;
    QTimer m_pauseTimer;
    CSysExItem* m_pPaused = nullptr; // the tail entry waiting out its pause (the queue owns it)
    bool m_bResetting = false;       // failures that follow now are the reset's own
    bool m_bDeviceGone = false;      // nothing more is handed to the port
    bool m_bClosing = false;         // CloseAndClear waits for the port to give everything back
};
