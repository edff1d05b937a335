#include "CMultiDocTpl.h"

#include "CChildFrame.h"
#include "CDView.h"
#include "ViewTypes.h"

#include <QMdiArea>

CChildFrame* CMultiDocTpl::CreateNewFrame(CQuenleyDoc* pDoc, QMdiArea* pArea) const {
    std::unique_ptr<CDView> pView = ViewTypes::CreateView(m_nViewType, pDoc);
    if (!pView || !pArea)
        return nullptr;
    auto* pFrame = new CChildFrame(std::move(pView));
    pArea->addSubWindow(pFrame);
    pFrame->hide(); // shown by the caller once it knows where
    return pFrame;
}
