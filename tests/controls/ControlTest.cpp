#include "ControlTest.h"

using namespace ControlTest;

void CControlTest::init() {
    m_pView = std::make_unique<CReceiver>();
    m_pView->resize(m_viewSize);
    m_pView->show();
    m_pView->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_pView.get()));
}

void CControlTest::cleanup() {
    m_pView.reset();
}

std::unique_ptr<CDFader> CControlTest::Fader(const SFaderLayout& layout, int x, int y) {
    auto pFader = std::make_unique<CDFader>();
    [&] {
        QVERIFY(pFader->Create(m_pView.get(), kFaderId, layout.Strip(), x, y, layout.nCap, false));
    }();
    return pFader;
}

std::unique_ptr<CDLcd> CControlTest::Lcd(int nChars, int x, int y) {
    auto pLcd = std::make_unique<CDLcd>();
    [&] {
        QVERIFY(pLcd->Create(m_pView.get(), kLcdId, FontStrip(), x, y, 96, nChars, 2, false));
    }();
    return pLcd;
}

void CControlTest::FocusOn(QWidget* pWidget) {
    pWidget->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), pWidget);
}
