#pragma once

#include "CDDynCtrl.h"
#include "ControlMessages.h"

#include <QColor>

#include <memory>

// A one-line dot-matrix display of fixed character cells drawn from a picture font, edited in
// place in overwrite mode with an underline cursor; in numeric mode its text is its value,
// zero-padded. Reports the end of editing with WM_DLCD_CHANGED.
//
// The font strip holds one glyph per character code 32 ... 127.
class CDLcd : public CDDynCtrl {
    Q_OBJECT

public:
    CDLcd();

    // nChars <= 1 and nGap <= 0 keep the previous cell count and gap. The cells start blank.
    bool Create(QWidget* pParent, unsigned nID, const QImage& bitmap, int x, int y, int nGlyphs,
                int nChars, int nGap, bool bGroup);

    // Writes from cell 0; cells beyond a shorter text keep their characters.
    bool SetText(const char* psz);
    // The cells and a terminating NUL ("" before Create).
    const char* GetText() const;
    void Clear();
    bool BlankLeadingZeros();
    int GetLength() const { return m_nChars; }
    void SetBackgroundColor(const QColor& cr);
    QColor GetBackgroundColor() const { return m_crBack; }
    void SetNumeric() { m_bNumeric = true; }
    bool IsNumeric() const { return m_bNumeric; }
    int GetCursor() const { return m_nCursor; }

    void FormatValue();
    // Numeric mode only. A refused value leaves the previous number on display.
    bool SetValue(int nValue, bool bRedraw) override;
    // In numeric mode the typed text is taken over first.
    int GetValue() override;
    // Takes the cells as the value; text that is not a number, or a number out of range, is
    // dropped and the value shown again. True when the value was taken.
    bool ParseText();
    virtual void IncrementNumber();
    virtual void DecrementNumber();
    // Ends an edit in progress as leaving the display does, so that typed text reaches the view
    // before a command acts on what the panel shows. False when nothing was being edited.
    bool CommitEditing();

    void Draw(QPainter* pDC) override;
    // Shows the text at once; what it shows then is what Escape puts back.
    void RedrawText();
    void DrawChar();
    void DrawCursor();
    void EraseCursor();

signals:
    // Leaving the numeric display dropped the typed text: not a number in its range.
    void EntryDropped();

protected:
    // The text cursor shows where the focus is.
    bool WantsFocusRing() const override { return false; }
    bool IsOwnKey(const QKeyEvent* pEvent) const override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    // A numeric display turns as the knob or fader it goes with; without one it steps itself.
    void wheelEvent(QWheelEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    int GlyphOf(char c) const;
    QRect CellRect(int nCell) const;
    QRect CursorRect() const;
    // Parse (numeric mode), hide the cursor, back to cell 0, tell the parent.
    void EndEditing();
    // Escape: the cells show again what the program last put there; nothing is taken.
    void RevertEditing();

    QColor m_crBack = kLcdBackground;
    int m_nChars = 1;
    bool m_bNumeric = false;
    std::unique_ptr<char[]> m_pszText;
    // The text as last shown by the program rather than typed.
    QByteArray m_shownText;
    int m_nCursor = 0;
    int m_nGap = 0;
    bool m_bCursorShown = false;
};
