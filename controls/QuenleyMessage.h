#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every message the program shows to its user goes through Show, so that the title, the icons
// and the buttons are the same everywhere, and tests can answer and record them through a hook.
namespace QuenleyMessage {

enum class EIcon { Information, Warning, Critical, Question };
enum class EButtons { Ok, YesNo, OkCancel, YesNoCancel };
enum class EAnswer { Ok, Yes, No, Cancel };

inline constexpr const char* kTitle = "Quenley";

// Called instead of the message box while set; its return is the user's answer.
using Hook = std::function<EAnswer(const QString& sText, EIcon eIcon, EButtons eButtons)>;

// Shows a modal message box titled "Quenley" over pParent (the active window when null).
EAnswer Show(const QString& sText, EIcon eIcon = EIcon::Warning, EButtons eButtons = EButtons::Ok,
             QWidget* pParent = nullptr);

// Asks for one of one or two ways on, each a button of its own, beside Cancel. Returns the
// index of the way chosen, or -1 for Cancel. A hook is asked as OkCancel for one way (Ok: the
// way) and as YesNoCancel for two (Yes: the first, No: the second).
int Choose(const QString& sText, const QStringList& ways, EIcon eIcon = EIcon::Question,
           QWidget* pParent = nullptr);

// Installs a hook (an empty one restores the real message box); returns the previous hook.
Hook SetHook(Hook hook);

} // namespace QuenleyMessage
