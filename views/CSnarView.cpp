#include "CSnarView.h"

#include "SectionKinds.h"

using Panels::EPanel;
using Picture = PanelBitmaps::EPicture;

CSnarView::CSnarView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kSnare, EPanel::Snare, Picture::Snare) {}
