#pragma once

#include <QString>

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

// Installs a hook (an empty one restores the real message box); returns the previous hook.
Hook SetHook(Hook hook);

} // namespace QuenleyMessage
