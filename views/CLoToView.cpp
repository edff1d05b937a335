#include "CLoToView.h"

#include "SectionKinds.h"

CLoToView::CLoToView(CQuenleyDoc* pDoc) : CTomView(pDoc, kViewType, Kinds::kLowTom) {}
