#include "CChildFrame.h"

#include "CDView.h"
#include "CPanelScrollArea.h"
#include "CSection.h"
#include "CWorkspace.h"
#include "SectionKinds.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWindowStateChangeEvent>

#include <algorithm>

CChildFrame::CChildFrame(std::unique_ptr<CDView> pView)
    : m_pView(pView.get()), m_pScroller(new CPanelScrollArea(pView.release())) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_pScroller);
    // The view names and marks its window; the frame shows what the view says.
    connect(m_pView, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
    connect(m_pView, &QWidget::windowIconChanged, this, &QWidget::setWindowIcon);
    setWindowIcon(m_pView->windowIcon());
    setMaximumSize(NaturalSize());
}

CChildFrame::~CChildFrame() = default;

QSize CChildFrame::NaturalSize() const {
    // The sub-window's own size hint is its widget's plus borders and caption, the scroll area's
    // is the view's, and the view's is its panel.
    return sizeHint();
}

QSize CChildFrame::AreaSize() const {
    if (QMdiArea* pArea = mdiArea())
        return pArea->viewport()->size();
    return {};
}

void CChildFrame::InitialUpdate(int nNumber) {
    if (nNumber >= 0)
        m_pView->SetVariationNumber(nNumber);
    m_pView->OnInitialUpdate();
    setMaximumSize(NaturalSize());
}

QPoint CChildFrame::CascadePlace(const QSize& size) const {
    QMdiArea* pArea = mdiArea();
    if (!pArea)
        return {};
    const QMdiSubWindow* pLast = nullptr;
    for (QMdiSubWindow* pWindow : pArea->subWindowList(QMdiArea::CreationOrder))
        if (pWindow != this && pWindow->isVisible() && !pWindow->isMinimized())
            pLast = pWindow;
    if (!pLast)
        return {};
    // One caption's height, as the work area's own Cascade steps.
    QStyleOptionTitleBar option;
    option.initFrom(this);
    const int nStep = style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, this);
    const QPoint at = pLast->pos() + QPoint(nStep, nStep);
    // A window larger than the area cannot fit anywhere; it goes where most of it shows.
    const QSize area = AreaSize();
    if (at.x() < 0 || at.y() < 0 || at.x() > std::max(0, area.width() - size.width()) ||
        at.y() > std::max(0, area.height() - size.height()))
        return {};
    return at;
}

void CChildFrame::ActivateFrame() {
    const QSize natural = NaturalSize();
    setGeometry(QRect(CascadePlace(natural), natural));
    RememberNormalGeometry();
    show();
    if (QMdiArea* pArea = mdiArea())
        pArea->setActiveSubWindow(this);
    m_pView->setFocus();
}

void CChildFrame::FitToPanel() {
    if (isMinimized())
        showNormal();
    const QSize natural = NaturalSize();
    if (size() == natural)
        return;
    resize(natural);
}

void CChildFrame::RestoreWindow(const CWorkspace& record) {
    // A damaged record may name any number: keep it inside what the view's kind can show.
    // View types 1 and 2 show kits; 3 to 12 show the instrument kinds 2 to 11.
    const int nKind = record.m_nViewType <= 2 ? Kinds::kKit : record.m_nViewType - 1;
    const int nLast = Kinds::IsKind(nKind) ? Kinds::Info(nKind).nVariations - 1 : 0;
    InitialUpdate(std::clamp<int>(record.m_nNumber, 0, std::max(nLast, 0)));

    const SWindowPlacement& p = record.m_placement;
    const QSize natural = NaturalSize();
    QPoint at(p.nLeft, p.nTop);
    const QSize area = AreaSize();
    if (area.isValid()) {
        at.setX(std::clamp(at.x(), 0, std::max(0, area.width() - natural.width())));
        at.setY(std::clamp(at.y(), 0, std::max(0, area.height() - natural.height())));
    } else {
        at = QPoint(std::max(0, at.x()), std::max(0, at.y()));
    }
    setGeometry(QRect(at, natural));
    RememberNormalGeometry();
    show();
    if (p.nShowCmd == kShowMinimized)
        showMinimized();
    if (QMdiArea* pArea = mdiArea())
        pArea->setActiveSubWindow(this);
}

void CChildFrame::ShowSection(const CSection* pSection) {
    if (!pSection)
        return;
    InitialUpdate(pSection->GetNumber());
    ActivateFrame();
}

bool CChildFrame::SetZoom(int nPercent) {
    if (!m_pView->SetZoom(nPercent))
        return false;
    // The sub-window's hint follows its widget's only once the layout has heard of the change.
    m_pScroller->updateGeometry();
    if (layout())
        layout()->invalidate();
    setMaximumSize(NaturalSize());
    if (!isMinimized() && isVisible())
        resize(NaturalSize());
    return true;
}

bool CChildFrame::GetWindowPlacement(SWindowPlacement& placement) const {
    placement = SWindowPlacement{};
    placement.nShowCmd = isMinimized() ? kShowMinimized : kShowNormal;
    placement.nMinX = placement.nMinY = -1;
    placement.nMaxX = placement.nMaxY = -1;
    const QRect r = isMinimized() || m_normalGeometry.isNull() ? m_normalGeometry : geometry();
    placement.nLeft = r.left();
    placement.nTop = r.top();
    placement.nRight = r.left() + r.width();
    placement.nBottom = r.top() + r.height();
    return true;
}

void CChildFrame::RememberNormalGeometry() {
    if (!isMinimized() && !isMaximized())
        m_normalGeometry = geometry();
}

void CChildFrame::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized)) {
        // Maximizing means fitting the window to its panel; the maximized state never begins.
        const auto* pChange = static_cast<QWindowStateChangeEvent*>(pEvent);
        overrideWindowState(pChange->oldState() & ~Qt::WindowMaximized);
        FitToPanel();
        return;
    }
    QMdiSubWindow::changeEvent(pEvent);
    // Back from an icon, the whole panel is painted afresh.
    if (pEvent->type() == QEvent::WindowStateChange &&
        (static_cast<QWindowStateChangeEvent*>(pEvent)->oldState() & Qt::WindowMinimized) &&
        !isMinimized())
        update();
}

void CChildFrame::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    // A double click on the caption would maximize or roll the window up: it does nothing.
    pEvent->accept();
}

void CChildFrame::closeEvent(QCloseEvent* pEvent) {
    m_pView->CommitPendingEdit();
    if (m_closeGuard && !m_closeGuard(this)) {
        pEvent->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(pEvent);
}

void CChildFrame::moveEvent(QMoveEvent* pEvent) {
    QMdiSubWindow::moveEvent(pEvent);
    RememberNormalGeometry();
}

void CChildFrame::resizeEvent(QResizeEvent* pEvent) {
    QMdiSubWindow::resizeEvent(pEvent);
    RememberNormalGeometry();
}
