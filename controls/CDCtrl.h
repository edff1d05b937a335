#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <functional>

class QPainter;

// A panel control: a child widget at a fixed panel position that paints itself from a strip of
// frames it owns, remembers a partner control and reports changes to its parent.
class CDCtrl : public QWidget {
    Q_OBJECT

public:
    CDCtrl();

    // Takes the bitmap (a strip of nFrames frames side by side) and becomes a visible child of
    // pParent at (x, y), one frame in size. False, and nothing changes, without a bitmap or
    // parent or with fewer than one frame.
    bool Create(QWidget* pParent, unsigned nID, const QImage& bitmap, int x, int y, int nFrames,
                bool bGroup);

    bool SetNext(CDCtrl* pNext);
    CDCtrl* GetNext() const { return m_pNext; }

    unsigned GetDlgCtrlID() const { return m_nID; }
    bool IsGroup() const { return m_bGroup; }
    const QImage& GetBitmap() const { return m_hBitmap; }

    virtual void Draw(QPainter* pDC);

    // Shows the control magnified dZoom times (1.0: as drawn), every picture pixel a block of
    // screen pixels, at its panel position magnified the same way; 0 or less is refused.
    bool SetZoom(double dZoom);
    double Zoom() const { return m_dZoom; }
    // Where the control lies on the panel, in picture pixels whatever the zoom.
    QRect PanelRect() const { return m_rect; }
    // The widget rectangle that shows the panel rectangle rPanel at dZoom: the screen pixels
    // whose centres fall inside it, so that neighbours neither overlap nor leave a gap.
    static QRect ZoomedRect(const QRect& rPanel, double dZoom);
    // The part rScreen of a picture lying at pictureAt on the panel, magnified dZoom times by
    // repeating pixels: screen pixel p shows picture pixel floor((p + 0.5) / dZoom).
    static QImage Magnify(const QImage& picture, const QPoint& pictureAt, const QRect& rScreen,
                          double dZoom);

    // A dimmed control is drawn faded into the panel, for one that stands for nothing just now;
    // whether it takes input is its enabled state, as for any widget.
    void SetDimmed(bool bDimmed);
    bool IsDimmed() const { return m_bDimmed; }
    // The picture as a dimmed control shows it.
    static QImage Dim(const QImage& picture);

    // Whoever knows what the control stands for supplies its tooltip text; null or an empty
    // text shows none.
    using ToolTipSource = std::function<QString()>;
    void SetToolTipSource(ToolTipSource source) { m_toolTipSource = std::move(source); }
    QString ToolTipText() const;

    // The ring drawn over the picture while the control has the focus that the keyboard gave
    // it (Tab, Shift+Tab, a key of the window); a click on it hides the ring again.
    bool ShowsFocusRing() const;

protected:
    // Assistive tools change a control as its user does, and report it the same way.
    friend class CControlAccessible;
    // Controls that show their own cursor draw no ring.
    virtual bool WantsFocusRing() const { return true; }
    void DrawFocusRing(QPainter* pDC) const;

    // The common second half of every Create: the child widget itself.
    bool CreateChild(QWidget* pParent, unsigned nID, const QString& sText, bool bGroup);
    // Copies frame nFrame of the strip to (0, 0).
    void DrawFrame(QPainter* pDC, int nFrame);
    // Tells the parent synchronously; its handler has run when this returns.
    void Notify(unsigned nMsg);

    // A point of the widget in picture pixels from the control's top-left corner.
    QPointF ToPicture(const QPointF& at) const;
    // Repaints what shows the rectangle rPicture of the control's picture.
    void UpdatePicture(const QRect& rPicture);
    // The tooltip at globalPos with the text as it is now, as a drag or a wheel turn goes on.
    void ShowToolTip(const QPoint& globalPos);

    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

    CDCtrl* m_pNext = nullptr;
    QRect m_rect{0, 0, 10, 10};
    QImage m_hBitmap;
    int m_nFrameWidth = 0;
    int m_nFrameHeight = 0;
    int m_nFrames = 1;
    bool m_bTracking = false;

private:
    unsigned m_nID = 0;
    bool m_bGroup = false;
    double m_dZoom = 1.0;
    bool m_bDimmed = false;
    bool m_bKeyboardCue = false;
    ToolTipSource m_toolTipSource;
};
