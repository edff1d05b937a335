#include "CLFOsView.h"

#include "SectionKinds.h"

using Panels::EPanel;
using Picture = PanelBitmaps::EPicture;

CLFOsView::CLFOsView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kLfos, EPanel::Lfo, Picture::Lfo) {}
