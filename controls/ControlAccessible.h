#pragma once

#include <QAccessible>
#include <QByteArray>
#include <QEvent>

#include <functional>

class CDCtrl;
class CDLcd;
class CDLed;

// What the panel controls tell a screen reader or any other assistive tool: a role by control
// class, the name and description the view gives each control, the value with its range, the
// read-out's text and the lamp's state, and every change of them as it is shown. A value set
// through the tool goes the way a turn or a click of the control goes.
namespace ControlAccessible {

// Makes the controls' interfaces from now on; again does nothing.
void Install();

// Sent to a control (through the view's event filter) before a change made for the tool, so
// that it is a gesture of its own: one step of the history, never merged with the last run.
QEvent::Type AssistedChangeEvent();

// A lamp shown as a push button (the initialise and Active buttons) rather than a switch.
void SetButton(CDLed* pLed, bool bButton = true);
bool IsButton(const CDLed* pLed);

// What the tool is told when the shown value, text or lamp state changes; nothing while no
// tool is listening.
void ValueShown(CDCtrl* pControl);
void TextShown(CDLcd* pLcd, const QByteArray& oldText);
void StateShown(CDLed* pLed);

// Takes the announcements instead of the platform while set (tests listen here, as no tool
// listens on their platform); returns the previous listener.
using Listener = std::function<void(QAccessibleEvent*)>;
Listener SetListener(Listener listener);

} // namespace ControlAccessible
