#pragma once

#include "CDMidi.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <list>

class CSysExItem;

// The transmit queue and its send loop. Messages are sent oldest first, one in flight at a time,
// the next as soon as the driver reports the previous one done; a newer message for the same
// parameter replaces a waiting older one. While the port is closed messages collect. Before each
// block message the loop pauses 200 ms (the module needs it to take a whole block), without
// holding up the user interface.
class CMidiWnd : public QObject, public CDMidi {
    Q_OBJECT
public:
    explicit CMidiWnd(std::unique_ptr<CMidiOutDriver> pDriver = nullptr);
    ~CMidiWnd() override;

    // The parent (the main frame) is told when the port opens and closes.
    bool Create(QObject* pParent);

    bool AddSysExBuffer(CSysExItem* pItem);
    void DestroySysExList();

    bool IsIdle() const { return m_bIdle; }
    bool IsClosed() const { return m_bClosed; }
    int QueueLength() const { return static_cast<int>(m_SysExList.size()); }
    // The queue from newest (head) to oldest (tail).
    const std::list<CSysExItem*>& Queue() const { return m_SysExList; }

    static constexpr int kBlockPauseMs = 200;

protected:
    bool event(QEvent* pEvent) override;

    bool SendSysExBuffer();
    bool RemoveSysExBuffer();
    // Hands the paused tail entry to the driver once the pause is over.
    void SendAfterPause();

    static void Discard(CSysExItem* pItem);

    bool m_bIdle = true;
    bool m_bClosed = true;
    std::list<CSysExItem*> m_SysExList; // front = head = newest

private:
    QPointer<QObject> m_pParentWnd;
    QTimer m_pauseTimer;
    CSysExItem* m_pPaused = nullptr; // the tail entry waiting out its pause
};
