#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

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

protected:
    // The common second half of every Create: the child widget itself.
    bool CreateChild(QWidget* pParent, unsigned nID, const QString& sText, bool bGroup);
    // Copies frame nFrame of the strip to (0, 0).
    void DrawFrame(QPainter* pDC, int nFrame);
    // Tells the parent synchronously; its handler has run when this returns.
    void Notify(unsigned nMsg);

    void paintEvent(QPaintEvent* pEvent) override;

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
};
