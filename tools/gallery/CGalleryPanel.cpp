#include "CGalleryPanel.h"

#include "CMsgEvent.h"
#include "ControlMessages.h"
#include "PanelBitmaps.h"

#include <QPainter>

using namespace PanelBitmaps;

namespace {

// A value read-out and its knob, as the kick panel places them.
struct SPair {
    unsigned nLcdId;
    int nLcdX, nLcdY;
    unsigned nKnobId;
    int nKnobX, nKnobY;
    int nMax;
    const char* pszLabel;
};

constexpr SPair kPairs[] = {
    {2520, 211, 40, 2585, 272, 29, 255, "Variation"}, {2525, 155, 90, 2590, 38, 91, 255, "Tune"},
    {2530, 211, 90, 2595, 252, 91, 255, "Pitch"},     {2535, 155, 102, 2600, 79, 91, 255, "Decay"},
    {2540, 211, 102, 2605, 293, 91, 255, "Harmo"},    {2545, 155, 152, 2610, 38, 153, 255, "Pulse"},
    {2550, 211, 152, 2615, 252, 153, 255, "Noise"},   {2555, 155, 164, 2620, 79, 153, 255, "Attac"},
    {2560, 211, 164, 2625, 293, 153, 7, "EQ"},        {2565, 155, 214, 2630, 38, 215, 255, "Level"},
    {4000, 372, 190, 4005, 420, 186, 127, "Spare"},
};

struct SDisplay {
    unsigned nId;
    int x, y;
    const char* pszText;
};

constexpr SDisplay kDisplays[] = {
    {2570, 211, 214, "LIN"},
    {2575, 155, 226, "OFF"},
    {2580, 211, 226, "OFF"},
};

constexpr int kPanelWidth = 350;
constexpr int kGap = 2;

} // namespace

CGalleryPanel::CGalleryPanel(QWidget* pParent) : QWidget(pParent) {
    static_assert(std::size(kPairs) == CGalleryPanel::kPairCount);
    static_assert(std::size(kDisplays) == CGalleryPanel::kDisplayCount);
    m_panel = CreateBitmap(EPicture::Kick);
    setFixedSize(kPanelWidth + 130, Picture(EPicture::Kick).nHeight);

    const auto Check = [this](bool bCreated) { m_bComplete = m_bComplete && bCreated; };
    Check(m_active.Create(this, 2500, CreateBitmap(EPicture::Led), 62, 33, kLedFrames, false));
    m_active.SetReadOnly();
    m_active.SetState(true);
    Check(m_veloc.Create(this, 2505, CreateBitmap(EPicture::Led), 82, 219, kLedFrames, false));
    Check(m_init.Create(this, 2510, CreateBitmap(EPicture::Led), 296, 219, kLedFrames, false));
    m_init.SetMomentary(true);
    Check(m_name.Create(this, 2515, CreateBitmap(EPicture::LcdFont), 120, 28, kLcdGlyphs, 16, kGap,
                        false));
    m_name.SetText(" - Undefined -  ");

    for (size_t i = 0; i < std::size(kPairs); ++i) {
        const SPair& pair = kPairs[i];
        CDLcd& lcd = m_values[i];
        CDPoti& knob = m_knobs[i];
        Check(lcd.Create(this, pair.nLcdId, CreateBitmap(EPicture::LcdFont), pair.nLcdX, pair.nLcdY,
                         kLcdGlyphs, 3, kGap, false));
        Check(knob.Create(this, pair.nKnobId, CreateBitmap(EPicture::Knob), pair.nKnobX,
                          pair.nKnobY, kKnobFrames, false));
        lcd.SetNumeric();
        lcd.SetRange(0, pair.nMax);
        knob.SetRange(0, pair.nMax);
        lcd.SetNext(&knob);
        knob.SetNext(&lcd);
        const int nStart = int(i * 23) % (pair.nMax + 1);
        lcd.SetValue(nStart, true);
        knob.SetValue(nStart, true);
    }

    for (size_t i = 0; i < std::size(kDisplays); ++i) {
        CDLcd& display = m_displays[i];
        Check(display.Create(this, kDisplays[i].nId, CreateBitmap(EPicture::LcdFont),
                             kDisplays[i].x, kDisplays[i].y, kLcdGlyphs, 3, kGap, false));
        display.SetText(kDisplays[i].pszText);
        display.setEnabled(false);
    }
    Check(m_scale.Create(this, 2635, CreateBitmap(EPicture::Knob), 252, 215, kKnobFrames, false));
    m_scale.SetRange(0, 1);
    m_scale.setEnabled(false);

    Check(
        m_fader.Create(this, 4010, CreateBitmap(EPicture::Fader), 380, 20, kFaderCapHeight, false));
    Check(m_faderValue.Create(this, 4015, CreateBitmap(EPicture::LcdFont), 372, 176, kLcdGlyphs, 3,
                              kGap, false));
    m_faderValue.SetNumeric();
    m_fader.SetNext(&m_faderValue);
    m_faderValue.SetNext(&m_fader);
    m_fader.SetValue(200, true);
    m_faderValue.SetValue(200, true);

    Check(m_wide.Create(this, 4020, CreateBitmap(EPicture::LcdFont), 362, 240, kLcdGlyphs, 16, 1,
                        false));
    m_wide.SetText("Gallery 0123456!");
}

void CGalleryPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(96, 96, 104));
    if (!m_panel.isNull())
        painter.drawImage(QPoint(0, 0), m_panel);
}

bool CGalleryPanel::event(QEvent* pEvent) {
    CMsgEvent* pMsg = Msg::From(pEvent);
    if (!pMsg)
        return QWidget::event(pEvent);
    QObject* pSender = reinterpret_cast<QObject*>(pMsg->LParam());
    switch (pMsg->Message()) {
    case WM_DPOTI_CHANGED:
        OnKnob(static_cast<CDPoti*>(pSender));
        break;
    case WM_DFADER_CHANGED:
        OnFader(static_cast<CDFader*>(pSender));
        break;
    case WM_DLCD_CHANGED:
        OnLcd(static_cast<CDLcd*>(pSender));
        break;
    case WM_DLED_CHANGED:
        OnLed(static_cast<CDLed*>(pSender));
        break;
    default:
        return QWidget::event(pEvent);
    }
    pMsg->SetResult(0);
    return true;
}

void CGalleryPanel::OnKnob(CDPoti* pKnob) {
    emit Logged(QStringLiteral("WM_DPOTI_CHANGED  knob %1 = %2")
                    .arg(pKnob->GetDlgCtrlID())
                    .arg(pKnob->GetValue()));
    if (auto* pLcd = static_cast<CDLcd*>(pKnob->GetNext());
        pLcd && pLcd->GetValue() != pKnob->GetValue())
        pLcd->SetValue(pKnob->GetValue(), true);
}

void CGalleryPanel::OnFader(CDFader* pFader) {
    emit Logged(QStringLiteral("WM_DFADER_CHANGED fader %1 = %2")
                    .arg(pFader->GetDlgCtrlID())
                    .arg(pFader->GetValue()));
    if (m_faderValue.GetValue() != pFader->GetValue())
        m_faderValue.SetValue(pFader->GetValue(), true);
}

void CGalleryPanel::OnLcd(CDLcd* pLcd) {
    if (!pLcd->IsNumeric()) {
        emit Logged(QStringLiteral("WM_DLCD_CHANGED   lcd %1 = \"%2\"")
                        .arg(pLcd->GetDlgCtrlID())
                        .arg(QLatin1String(pLcd->GetText())));
        return;
    }
    emit Logged(QStringLiteral("WM_DLCD_CHANGED   lcd %1 = %2")
                    .arg(pLcd->GetDlgCtrlID())
                    .arg(pLcd->GetValue()));
    if (auto* pPartner = static_cast<CDDynCtrl*>(pLcd->GetNext());
        pPartner && pPartner->GetValue() != pLcd->GetValue())
        pPartner->SetValue(pLcd->GetValue(), true);
}

void CGalleryPanel::OnLed(CDLed* pLed) {
    emit Logged(QStringLiteral("WM_DLED_CHANGED   led %1 = %2")
                    .arg(pLed->GetDlgCtrlID())
                    .arg(pLed->GetState() ? "on" : "off"));
    CDLcd& display = pLed == &m_veloc ? m_displays[1] : m_displays[2];
    display.SetText(pLed->GetState() ? "ON " : "OFF");
}
