#include "CTomView.h"

using Panels::EPanel;
using Picture = PanelBitmaps::EPicture;

CTomView::CTomView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind)
    : CInstrumentView(pDoc, nViewType, nSectionKind, EPanel::Tom, Picture::Tom) {}
