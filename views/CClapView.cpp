#include "CClapView.h"

#include "SectionKinds.h"

CClapView::CClapView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kClap) {}
