#include "CMsgEvent.h"

#include <QCoreApplication>
#include <QObject>

CMsgEvent::CMsgEvent(unsigned nMsg, quintptr wParam, qintptr lParam)
    : QEvent(EventType()), m_nMsg(nMsg), m_wParam(wParam), m_lParam(lParam) {}

QEvent::Type CMsgEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

namespace Msg {

bool Post(QObject* pTarget, unsigned nMsg, quintptr wParam, qintptr lParam) {
    if (!pTarget)
        return false;
    QCoreApplication::postEvent(pTarget, new CMsgEvent(nMsg, wParam, lParam));
    return true;
}

qintptr Send(QObject* pTarget, unsigned nMsg, quintptr wParam, qintptr lParam) {
    if (!pTarget)
        return 0;
    CMsgEvent ev(nMsg, wParam, lParam);
    QCoreApplication::sendEvent(pTarget, &ev);
    return ev.Result();
}

CMsgEvent* From(QEvent* pEvent) {
    if (!pEvent || pEvent->type() != CMsgEvent::EventType())
        return nullptr;
    return static_cast<CMsgEvent*>(pEvent);
}

} // namespace Msg
