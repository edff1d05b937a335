#include "CKickView.h"

#include "SectionKinds.h"

using Panels::EPanel;
using Picture = PanelBitmaps::EPicture;

CKickView::CKickView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kKick, EPanel::Kick, Picture::Kick) {}
