#pragma once

#include "CViewFrame.h"

#include <QMdiSubWindow>
#include <QRect>

#include <functional>
#include <memory>

class CDView;
class CPanelScrollArea;
class CSection;
class CWorkspace;

// The frame of every editor window. It always fits its view's front panel: a new window opens
// cascaded from the last one at exactly the panel's size, it never grows beyond that size, and
// maximizing it fits it to the panel again; a frame made smaller scrolls its panel. It also
// remembers and restores where it lay, as project files keep it.
class CChildFrame : public QMdiSubWindow, public CViewFrame {
    Q_OBJECT

public:
    explicit CChildFrame(std::unique_ptr<CDView> pView);
    ~CChildFrame() override;

    CDView* View() const { return m_pView; }

    // The panel's size plus the frame's borders and caption.
    QSize NaturalSize() const;

    // The view's initial update, showing variation nNumber (negative: the view's default).
    void InitialUpdate(int nNumber = -1);
    // Shows a new window at its natural size, one caption's height right of and below the last
    // window opened, back at the work area's top-left corner when that would leave the area.
    void ActivateFrame();
    // Back to the natural size at the current position; a minimized window is restored first.
    void FitToPanel();
    // Shows a window reopened from a project file: its variation, and its place moved into the
    // work area, always visible and at its natural size.
    void RestoreWindow(const CWorkspace& record);
    // Shows a new window on the section as ActivateFrame does; nothing for a null section.
    void ShowSection(const CSection* pSection);
    // Magnifies the panel nPercent / 100 times; a shown window fits the new panel size where it
    // stands, a minimized one when it is restored. False for a zoom the view refuses.
    bool SetZoom(int nPercent);

    bool GetWindowPlacement(SWindowPlacement& placement) const override;

    // Asked before the window closes; false keeps it open.
    void SetCloseGuard(std::function<bool(CChildFrame*)> guard) { m_closeGuard = std::move(guard); }

    // The show commands project files store.
    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;

protected:
    void changeEvent(QEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void moveEvent(QMoveEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    // The work area's size, or none before the frame is in one.
    QSize AreaSize() const;
    // Where ActivateFrame puts a new window of the given size.
    QPoint CascadePlace(const QSize& size) const;
    void RememberNormalGeometry();

    CDView* m_pView;               // owned through the QMdiSubWindow
    CPanelScrollArea* m_pScroller; // between the frame and the view; owned by the frame
    QRect m_normalGeometry;
    std::function<bool(CChildFrame*)> m_closeGuard;
};
