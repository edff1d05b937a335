#include "CCrshView.h"

#include "SectionKinds.h"

CCrshView::CCrshView(CQuenleyDoc* pDoc) : CSmplView(pDoc, kViewType, Kinds::kCrash) {}
