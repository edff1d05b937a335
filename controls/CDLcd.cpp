#include "CDLcd.h"

#include "ControlAccessible.h"
#include "ControlMessages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtDebug>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kFirstCode = 32;
constexpr int kLastShownCode = 126;
constexpr int kCursorGlyph = 63;
constexpr int kCursorRows = 2;

bool IsPrintable(int nCode) {
    return nCode >= kFirstCode && nCode <= kLastShownCode;
}

} // namespace

CDLcd::CDLcd() = default;

bool CDLcd::Create(QWidget* pParent, unsigned nID, const QImage& bitmap, int x, int y, int nGlyphs,
                   int nChars, int nGap, bool bGroup) {
    if (bitmap.isNull() || !pParent || nGlyphs < 1)
        return false;
    if (nChars > 1)
        m_nChars = nChars;
    if (nGap > 0)
        m_nGap = nGap;
    m_hBitmap = bitmap;
    m_nFrameWidth = bitmap.width() / nGlyphs;
    m_nFrameHeight = bitmap.height();
    m_nFrames = nGlyphs;
    m_rect = QRect(x, y, (m_nFrameWidth + m_nGap) * m_nChars - m_nGap, m_nFrameHeight);
    if (!CreateChild(pParent, nID, QStringLiteral("DLCD"), bGroup))
        return false;

    if (m_pszText)
        qDebug("\n double defined display -> check it !!!\n");
    m_pszText = std::make_unique<char[]>(m_nChars + 1);
    std::memset(m_pszText.get(), ' ', m_nChars);
    m_pszText[m_nChars] = '\0';
    m_shownText = QByteArray(m_pszText.get(), m_nChars);
    m_nCursor = 0;
    return true;
}

bool CDLcd::SetText(const char* psz) {
    if (!psz || !m_pszText)
        return false;
    for (int i = 0; i < m_nChars && psz[i]; ++i)
        m_pszText[i] = psz[i];
    RedrawText();
    return true;
}

const char* CDLcd::GetText() const {
    return m_pszText ? m_pszText.get() : "";
}

void CDLcd::Clear() {
    if (m_pszText)
        std::memset(m_pszText.get(), ' ', m_nChars);
    RedrawText();
    m_nCursor = 0;
}

bool CDLcd::BlankLeadingZeros() {
    bool bBlanked = false;
    for (int i = 0; m_pszText && i < m_nChars && m_pszText[i] == '0'; ++i) {
        m_pszText[i] = ' ';
        bBlanked = true;
    }
    if (bBlanked)
        RedrawText();
    return bBlanked;
}

void CDLcd::SetBackgroundColor(const QColor& cr) {
    m_crBack = cr;
    update();
}

void CDLcd::FormatValue() {
    if (!m_pszText)
        return;
    // A number wider than the cells keeps its leading characters, never more than the cells.
    std::snprintf(m_pszText.get(), size_t(m_nChars) + 1, "%0*d", m_nChars, m_nValue);
}

bool CDLcd::SetValue(int nValue, bool bRedraw) {
    if (!m_bNumeric)
        return false;
    const bool bTaken = CDDynCtrl::SetValue(nValue, bRedraw);
    FormatValue();
    if (!m_pszText)
        return false;
    RedrawText();
    return bTaken;
}

int CDLcd::GetValue() {
    if (m_bNumeric)
        ParseText();
    return m_nValue;
}

bool CDLcd::ParseText() {
    if (!m_pszText)
        return false;
    const auto Refuse = [this] {
        FormatValue();
        RedrawText();
        return false;
    };
    qint64 nValue = 0;
    for (int i = 0; i < m_nChars; ++i) {
        const char c = m_pszText[i];
        if (c == ' ')
            continue;
        if (c < '0' || c > '9')
            return Refuse();
        nValue = nValue * 10 + (c - '0');
        // Too many digits for any range.
        if (nValue > INT_MAX)
            return Refuse();
    }
    return SetValue(static_cast<int>(nValue), true);
}

void CDLcd::IncrementNumber() {
    CDDynCtrl::Increment(false);
    FormatValue();
    RedrawText();
}

void CDLcd::DecrementNumber() {
    CDDynCtrl::Decrement(false);
    FormatValue();
    RedrawText();
}

int CDLcd::GlyphOf(char c) const {
    const int nCode = static_cast<unsigned char>(c);
    const int nGlyph = IsPrintable(nCode) ? nCode - kFirstCode : 0;
    return nGlyph < m_nFrames ? nGlyph : 0;
}

QRect CDLcd::CellRect(int nCell) const {
    return QRect(nCell * (m_nFrameWidth + m_nGap), 0, m_nFrameWidth, m_nFrameHeight);
}

QRect CDLcd::CursorRect() const {
    return CellRect(m_nCursor).adjusted(0, m_nFrameHeight - kCursorRows, 0, 0);
}

void CDLcd::Draw(QPainter* pDC) {
    // The background shows in the gaps between the cells.
    pDC->fillRect(QRect(QPoint(0, 0), m_rect.size()), m_crBack);
    for (int i = 0; m_pszText && i < m_nChars; ++i) {
        const int nGlyph = GlyphOf(m_pszText[i]);
        pDC->drawImage(CellRect(i), m_hBitmap,
                       QRect(nGlyph * m_nFrameWidth, 0, m_nFrameWidth, m_nFrameHeight));
    }
    if (m_bCursorShown && kCursorGlyph < m_nFrames) {
        pDC->drawImage(CursorRect(), m_hBitmap,
                       QRect(kCursorGlyph * m_nFrameWidth, m_nFrameHeight - kCursorRows,
                             m_nFrameWidth, kCursorRows));
    }
}

// The display keeps the cursor as state and paints from it, so any later repaint shows the
// same picture as these partial ones.
void CDLcd::RedrawText() {
    // Typing draws cell by cell; every other change of the text comes through here.
    const QByteArray previous = m_shownText;
    if (m_pszText)
        m_shownText = QByteArray(m_pszText.get(), m_nChars);
    update();
    ControlAccessible::TextShown(this, previous);
}

void CDLcd::DrawChar() {
    UpdatePicture(CellRect(m_nCursor));
}

void CDLcd::DrawCursor() {
    m_bCursorShown = true;
    UpdatePicture(CursorRect());
}

void CDLcd::EraseCursor() {
    m_bCursorShown = false;
    UpdatePicture(CursorRect());
}

void CDLcd::EndEditing() {
    if (m_bNumeric && !ParseText())
        emit EntryDropped();
    EraseCursor();
    m_nCursor = 0;
    Notify(WM_DLCD_CHANGED);
}

void CDLcd::RevertEditing() {
    if (!m_pszText)
        return;
    std::memcpy(m_pszText.get(), m_shownText.constData(),
                size_t(std::min<qsizetype>(m_shownText.size(), m_nChars)));
    EraseCursor();
    m_nCursor = 0;
    RedrawText();
    DrawCursor();
}

bool CDLcd::CommitEditing() {
    if (!hasFocus())
        return false;
    EndEditing();
    return true;
}

void CDLcd::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton)
        return;
    EraseCursor();
    const int x = static_cast<int>(ToPicture(pEvent->position()).x());
    const int nPitch = m_nFrameWidth + m_nGap;
    m_nCursor = 0;
    for (int nEdge = nPitch; nEdge < x && m_nCursor < m_nChars - 1; nEdge += nPitch)
        ++m_nCursor;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    DrawCursor();
}

bool CDLcd::IsOwnKey(const QKeyEvent* pEvent) const {
    switch (pEvent->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete:
    case Qt::Key_Escape:
        return true;
    default:
        return !pEvent->text().isEmpty();
    }
}

void CDLcd::keyPressEvent(QKeyEvent* pEvent) {
    const bool bHasText = m_pszText != nullptr;
    switch (pEvent->key()) {
    case Qt::Key_Backspace:
        if (bHasText && m_nCursor > 0) {
            EraseCursor();
            --m_nCursor;
            m_pszText[m_nCursor] = ' ';
            DrawChar();
            DrawCursor();
        }
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Leaving for the partner ends the editing through the focus change.
        if (m_pNext)
            m_pNext->setFocus(Qt::TabFocusReason);
        else
            EndEditing();
        return;
    case Qt::Key_End:
        if (m_nCursor != m_nChars - 1) {
            EraseCursor();
            m_nCursor = m_nChars - 1;
        }
        DrawCursor();
        return;
    case Qt::Key_Home:
        if (m_nCursor != 0) {
            EraseCursor();
            m_nCursor = 0;
        }
        DrawCursor();
        return;
    case Qt::Key_Left:
        if (m_nCursor > 0) {
            EraseCursor();
            --m_nCursor;
            DrawCursor();
        }
        return;
    case Qt::Key_Right:
        if (m_nCursor < m_nChars - 1) {
            EraseCursor();
            ++m_nCursor;
            DrawCursor();
        }
        return;
    case Qt::Key_Delete:
        if (bHasText && m_pszText[m_nCursor] != ' ') {
            m_pszText[m_nCursor] = ' ';
            DrawChar();
        }
        DrawCursor();
        return;
    case Qt::Key_Escape:
        RevertEditing();
        return;
    default:
        break;
    }

    const QString sText = pEvent->text();
    if (sText.isEmpty()) {
        CDDynCtrl::keyPressEvent(pEvent);
        return;
    }
    const int nCode = sText.at(0).unicode();
    if (IsPrintable(nCode) && bHasText) {
        EraseCursor();
        m_pszText[m_nCursor] = static_cast<char>(nCode);
        DrawChar();
        if (m_nCursor < m_nChars - 1)
            ++m_nCursor;
    }
    DrawCursor();
}

void CDLcd::focusInEvent(QFocusEvent* pEvent) {
    // Show where typing goes however the focus came here.
    DrawCursor();
    CDDynCtrl::focusInEvent(pEvent);
}

void CDLcd::focusOutEvent(QFocusEvent* pEvent) {
    CDDynCtrl::focusOutEvent(pEvent);
    // An opening menu or popup does not end the editing.
    if (pEvent->reason() != Qt::PopupFocusReason)
        EndEditing();
}

void CDLcd::wheelEvent(QWheelEvent* pEvent) {
    if (!m_bNumeric) {
        CDDynCtrl::wheelEvent(pEvent);
        return;
    }
    if (auto* pPartner = dynamic_cast<CDDynCtrl*>(m_pNext); pPartner && pPartner->isEnabled()) {
        QApplication::sendEvent(pPartner, pEvent);
        return;
    }
    pEvent->accept();
    // A typed value is where the turning starts.
    CommitEditing();
    const int nNotches = WheelNotches(pEvent);
    const int nStep = (pEvent->modifiers() & Qt::ShiftModifier) ? kCoarseSteps : 1;
    for (int i = 0; i < qAbs(nNotches); ++i) {
        for (int j = 0; j < nStep; ++j) {
            if (nNotches > 0)
                IncrementNumber();
            else
                DecrementNumber();
        }
        Notify(WM_DLCD_CHANGED);
    }
    if (nNotches != 0)
        ShowToolTip(pEvent->globalPosition().toPoint());
}
