#include "CHiToView.h"

#include "SectionKinds.h"

CHiToView::CHiToView(CQuenleyDoc* pDoc) : CTomView(pDoc, kViewType, Kinds::kHighTom) {}
