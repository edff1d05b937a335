#include "CRimsView.h"

#include "SectionKinds.h"

CRimsView::CRimsView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kRimshot) {}
