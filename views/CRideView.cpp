#include "CRideView.h"

#include "SectionKinds.h"

CRideView::CRideView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kRide) {}
