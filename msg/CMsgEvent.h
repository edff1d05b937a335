#pragma once

#include <QEvent>
#include <QtGlobal>

class QObject;

// A numbered window message with two parameters, carried as a Qt event. Posting is thread-safe
// and delivers on the receiver's thread; sending is synchronous and returns the handler's result.
class CMsgEvent : public QEvent {
public:
    CMsgEvent(unsigned nMsg, quintptr wParam, qintptr lParam);

    static QEvent::Type EventType();

    unsigned Message() const { return m_nMsg; }
    quintptr WParam() const { return m_wParam; }
    qintptr LParam() const { return m_lParam; }

    qintptr Result() const { return m_lResult; }
    void SetResult(qintptr lResult) { m_lResult = lResult; }

private:
    unsigned m_nMsg;
    quintptr m_wParam;
    qintptr m_lParam;
    qintptr m_lResult = 0;
};

namespace Msg {
// Queues the message for the receiver's event loop; false when there is no receiver.
bool Post(QObject* pTarget, unsigned nMsg, quintptr wParam = 0, qintptr lParam = 0);
// Delivers the message at once and returns what the receiver's handler set as result.
qintptr Send(QObject* pTarget, unsigned nMsg, quintptr wParam = 0, qintptr lParam = 0);
// The message carried by an event, or nullptr when the event is not a message.
CMsgEvent* From(QEvent* pEvent);
} // namespace Msg
