#include "CReceiver.h"

#include "CDDynCtrl.h"
#include "CDLed.h"
#include "CMsgEvent.h"

#include <QApplication>

bool CReceiver::event(QEvent* pEvent) {
    if (CMsgEvent* pMsg = Msg::From(pEvent)) {
        auto* pSender = reinterpret_cast<CDCtrl*>(pMsg->LParam());
        int nValue = -1;
        if (auto* pLed = qobject_cast<CDLed*>(pSender))
            nValue = pLed->GetState();
        else if (auto* pDyn = qobject_cast<CDDynCtrl*>(pSender))
            nValue = pDyn->GetValue();
        m_notes.append(
            {pMsg->Message(), pMsg->WParam(), pSender, nValue, QApplication::focusWidget()});
        pMsg->SetResult(0);
        return true;
    }
    return QWidget::event(pEvent);
}
