#include "CPaintWatch.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

CPaintWatch::CPaintWatch(Match match, Done done)
    : m_match(std::move(match)), m_done(std::move(done)) {
    qApp->installEventFilter(this);
}

CPaintWatch::~CPaintWatch() {
    qApp->removeEventFilter(this);
}

bool CPaintWatch::eventFilter(QObject* pObject, QEvent* pEvent) {
    if (m_bArmed && pEvent->type() == QEvent::Paint && pObject->isWidgetType() &&
        m_match(static_cast<QWidget*>(pObject))) {
        m_bArmed = false;
        QTimer::singleShot(0, this, [this] { m_done(); });
    }
    return false;
}
