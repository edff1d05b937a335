#include "CSmplView.h"

using Panels::EPanel;
using Picture = PanelBitmaps::EPicture;

CSmplView::CSmplView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind)
    : CInstrumentView(pDoc, nViewType, nSectionKind, EPanel::Sample, Picture::Sample) {}
