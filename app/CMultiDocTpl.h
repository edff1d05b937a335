#pragma once

class CChildFrame;
class CQuenleyDoc;
class QMdiArea;

// The template of one editor view type: makes a frame holding a new view of that type on the
// project.
class CMultiDocTpl {
public:
    explicit CMultiDocTpl(int nViewType) : m_nViewType(nViewType) {}

    int ViewType() const { return m_nViewType; }
    // A new frame in the area with its view on the document, not yet shown; null when the view
    // cannot be made.
    CChildFrame* CreateNewFrame(CQuenleyDoc* pDoc, QMdiArea* pArea) const;

private:
    int m_nViewType;
};
