#pragma once

#include "CInstrumentView.h"

// Clap, rimshot, crash and ride share the sample panel, with the kind's label on it.
class CSmplView : public CInstrumentView {
    Q_OBJECT
protected:
    CSmplView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind);
};
