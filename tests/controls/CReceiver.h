#pragma once

#include <QList>
#include <QWidget>

#include <functional>

class CDCtrl;

// A parent for controls under test: records every notification it receives, with the
// sender, the sender's value or state and the focus widget at that moment.
class CReceiver : public QWidget {
    Q_OBJECT

public:
    struct SNote {
        unsigned nMsg;
        quintptr wParam;
        CDCtrl* pSender;
        int nValue;      // value of a value control, state of an LED
        QWidget* pFocus; // QApplication::focusWidget() while handling
    };

    QList<SNote> m_notes;

    void Clear() { m_notes.clear(); }

protected:
    bool event(QEvent* pEvent) override;
};
