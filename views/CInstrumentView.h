#pragma once

#include "CDView.h"

#include <memory>

class CDCtrl;
class CDDynCtrl;
class CDLcd;
class CDLed;
class CSection;

// The editor of one variation of an instrument kind. Everything it does follows its panel's
// table: the number pair chooses the variation, the initialise button resets it, the name
// read-out renames it, and every parameter control writes its field of one value, keeping the
// other bits of that byte, and sends that one value to the module at once. The concrete views
// below only choose the kind, the panel and the window's type.
class CInstrumentView : public CDView {
    Q_OBJECT

public:
    ~CInstrumentView() override;

    int SectionKind() const { return m_nSectionKind; }

    void OnInitialUpdate() override;
    CSection* GetVariation() const override { return m_pVariation; }
    // The number the read-out is turned to, with or without a variation.
    bool GetShownNumber(int& rnNumber) const override;
    void OnUpdate(CDocumentView* pSender, int nHint, CSection* pHint) override;
    bool OnSectionListChanged(int nKind) override;

protected:
    CInstrumentView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind, Panels::EPanel ePanel,
                    PanelBitmaps::EPicture ePicture);

    // " Kick007*": a blank, the kind's four letters, the number and a star while active.
    virtual void UpdateTitle(int nNumber, bool bActive);

    void OnControlChanged(CDCtrl* pControl) override;
    int EditKind() const override { return m_nSectionKind; }
    void RefreshShown() override;

private:
    void FindControls();
    int ShownNumber() const;
    CSection* FindShown() const;
    // The variation is shown from now on, with its caption and values.
    void Show(CSection* pVariation);

    void Initialise();
    void ChangeName();
    void ChangeParam(const Panels::SControl& row, CDCtrl* pControl);
    void RefreshControls();
    void ShowUndefined();
    // The word display nId shows the word of nField from its own table.
    void ShowWord(unsigned nId, int nField);

    int m_nSectionKind;
    // Names the kind in the document's look-ups and makes new variations; never edited or sent.
    std::unique_ptr<CSection> m_pTemplate;
    CSection* m_pVariation = nullptr;
    bool m_bUndefinedShown = false;

    CDLed* m_pActiveLed = nullptr;
    CDLed* m_pInitLed = nullptr;
    CDLcd* m_pInitIndicator = nullptr;
    CDLcd* m_pNameLcd = nullptr;
    CDLcd* m_pNumberLcd = nullptr;
};
