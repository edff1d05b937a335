#include "CGapMeter.h"

#include "BenchClock.h"

#include <algorithm>

CGapMeter::CGapMeter() {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        const qint64 nNow = BenchClock::Now();
        m_nMax = std::max(m_nMax, nNow - m_nLast);
        m_nLast = nNow;
    });
}

void CGapMeter::Start() {
    Restart();
    m_timer.start();
}

void CGapMeter::Restart() {
    m_nMax = 0;
    m_nLast = BenchClock::Now();
}

double CGapMeter::MaxMs() const {
    return double(std::max(m_nMax, BenchClock::Now() - m_nLast)) / 1e6;
}
