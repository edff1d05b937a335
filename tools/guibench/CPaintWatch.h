#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Tells once when a widget that matches has been painted and its window flushed: the first
// paint event to it is noted, and the call comes when the event loop is back, after the whole
// window's repaint that the paint was part of.
class CPaintWatch : public QObject {
    Q_OBJECT

public:
    using Match = std::function<bool(QWidget*)>;
    using Done = std::function<void()>;

    CPaintWatch(Match match, Done done);
    ~CPaintWatch() override;

    // Watches for the next paint.
    void Rearm() { m_bArmed = true; }

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    Match m_match;
    Done m_done;
    bool m_bArmed = true;
};
