#pragma once

#include <QTimer>
#include <QtGlobal>

// Gaps between the ticks of a 1 ms timer: what a user would feel as a frozen window.
class CGapMeter {
public:
    CGapMeter();

    void Start();
    // Forgets the gaps so far.
    void Restart();
    // The longest gap so far in ms, the one still open included.
    double MaxMs() const;

private:
    QTimer m_timer;
    qint64 m_nMax = 0;
    qint64 m_nLast = 0;
};
