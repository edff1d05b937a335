#include "CHiHaView.h"

#include "SectionKinds.h"

using Panels::EPanel;
using Picture = PanelBitmaps::EPicture;

CHiHaView::CHiHaView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kHiHat, EPanel::HiHat, Picture::HiHat) {}
