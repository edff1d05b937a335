#pragma once

#include "CDView.h"
#include "PanelTables.h"

class CDDynCtrl;
class CDLcd;
class CDLed;

// One front panel with its controls made from its table by the views' own engine, over no
// document: keeps partners and word displays in step as the views do and reports every
// notification.
class CGalleryPanel : public CDView {
    Q_OBJECT

public:
    explicit CGalleryPanel(Panels::EPanel ePanel);

    // False when a picture could not be made.
    bool IsComplete() const { return m_bComplete; }

signals:
    void Logged(const QString& sLine);

protected:
    void OnLedChanged(CDLed* pLed) override;
    void OnLcdChanged(CDLcd* pLcd) override;
    void OnKnobChanged(CDDynCtrl* pControl) override;

private:
    // The word of nValue on the display of row nId, if it has one.
    void ShowWord(unsigned nId, int nValue);

    bool m_bComplete = false;
};
