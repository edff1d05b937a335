#include "InstrumentViews.h"

using Panels::EPanel;
using Picture = PanelBitmaps::EPicture;

CKickView::CKickView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kKick, EPanel::Kick, Picture::Kick) {}

CSnarView::CSnarView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kSnare, EPanel::Snare, Picture::Snare) {}

CTomView::CTomView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind)
    : CInstrumentView(pDoc, nViewType, nSectionKind, EPanel::Tom, Picture::Tom) {}

CLoToView::CLoToView(CQuenleyDoc* pDoc) : CTomView(pDoc, kViewType, Kinds::kLowTom) {}

CHiToView::CHiToView(CQuenleyDoc* pDoc) : CTomView(pDoc, kViewType, Kinds::kHighTom) {}

CHiHaView::CHiHaView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kHiHat, EPanel::HiHat, Picture::HiHat) {}

CSmplView::CSmplView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind)
    : CInstrumentView(pDoc, nViewType, nSectionKind, EPanel::Sample, Picture::Sample) {}

CClapView::CClapView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kClap) {}

CRimsView::CRimsView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kRimshot) {}

CCrshView::CCrshView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kCrash) {}

CRideView::CRideView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kRide) {}

CLFOsView::CLFOsView(CQuenleyDoc* pDoc)
    : CInstrumentView(pDoc, kViewType, Kinds::kLfos, EPanel::Lfo, Picture::Lfo) {}
