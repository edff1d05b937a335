#pragma once

#include "CInstrumentView.h"

// Low and high tom share the tom panel; its label read-out says which kind the window edits.
class CTomView : public CInstrumentView {
    Q_OBJECT
protected:
    CTomView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind);
};
