#include "QuenleyMessage.h"

#include <QApplication>
#include <QMessageBox>

namespace QuenleyMessage {

namespace {

Hook& CurrentHook() {
    static Hook hook;
    return hook;
}

struct SIconMap {
    EIcon eIcon;
    QMessageBox::Icon qIcon;
};

constexpr SIconMap kIcons[] = {
    {EIcon::Information, QMessageBox::Information},
    {EIcon::Warning, QMessageBox::Warning},
    {EIcon::Critical, QMessageBox::Critical},
    {EIcon::Question, QMessageBox::Question},
};

} // namespace

EAnswer Show(const QString& sText, EIcon eIcon, EButtons eButtons, QWidget* pParent) {
    if (const Hook& hook = CurrentHook())
        return hook(sText, eIcon, eButtons);
    // Without a widget application (command line, fuzzing) there is nobody to ask.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("%s: %s", kTitle, qPrintable(sText));
        return eButtons == EButtons::YesNo ? EAnswer::No : EAnswer::Ok;
    }

    QMessageBox::Icon qIcon = QMessageBox::NoIcon;
    for (const SIconMap& map : kIcons) {
        if (map.eIcon == eIcon)
            qIcon = map.qIcon;
    }
    const bool bYesNo = eButtons == EButtons::YesNo;
    QMessageBox box(qIcon, QString::fromLatin1(kTitle), sText,
                    bYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    pParent ? pParent : QApplication::activeWindow());
    const int nResult = box.exec();
    if (!bYesNo)
        return EAnswer::Ok;
    return nResult == QMessageBox::Yes ? EAnswer::Yes : EAnswer::No;
}

Hook SetHook(Hook hook) {
    Hook previous = std::move(CurrentHook());
    CurrentHook() = std::move(hook);
    return previous;
}

} // namespace QuenleyMessage
