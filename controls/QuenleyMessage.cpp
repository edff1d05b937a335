#include "QuenleyMessage.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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
        switch (eButtons) {
        case EButtons::Ok:
            return EAnswer::Ok;
        case EButtons::YesNo:
            return EAnswer::No;
        case EButtons::OkCancel:
        case EButtons::YesNoCancel:
            break;
        }
        return EAnswer::Cancel;
    }

    QMessageBox::Icon qIcon = QMessageBox::NoIcon;
    for (const SIconMap& map : kIcons) {
        if (map.eIcon == eIcon)
            qIcon = map.qIcon;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (eButtons) {
    case EButtons::Ok:
        break;
    case EButtons::YesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case EButtons::OkCancel:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case EButtons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(qIcon, QString::fromLatin1(kTitle), sText, buttons,
                    pParent ? pParent : QApplication::activeWindow());
    // Closing the box with Escape or its close button is the cautious answer.
    box.setEscapeButton(buttons & QMessageBox::Cancel ? QMessageBox::Cancel
                        : buttons & QMessageBox::No   ? QMessageBox::No
                                                      : QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return EAnswer::Yes;
    case QMessageBox::No:
        return EAnswer::No;
    case QMessageBox::Cancel:
        return EAnswer::Cancel;
    default:
        return EAnswer::Ok;
    }
}

int Choose(const QString& sText, const QStringList& ways, EIcon eIcon, QWidget* pParent) {
    Q_ASSERT(ways.size() == 1 || ways.size() == 2);
    const bool bTwo = ways.size() > 1;
    if (CurrentHook() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        switch (Show(sText, eIcon, bTwo ? EButtons::YesNoCancel : EButtons::OkCancel, pParent)) {
        case EAnswer::Ok:
        case EAnswer::Yes:
            return 0;
        case EAnswer::No:
            return bTwo ? 1 : -1;
        case EAnswer::Cancel:
            break;
        }
        return -1;
    }
    QMessageBox::Icon qIcon = QMessageBox::NoIcon;
    for (const SIconMap& map : kIcons) {
        if (map.eIcon == eIcon)
            qIcon = map.qIcon;
    }
    QMessageBox box(qIcon, QString::fromLatin1(kTitle), sText, QMessageBox::NoButton,
                    pParent ? pParent : QApplication::activeWindow());
    QList<QAbstractButton*> buttons;
    for (const QString& strWay : ways)
        buttons << box.addButton(strWay, QMessageBox::AcceptRole);
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
    box.setEscapeButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

Hook SetHook(Hook hook) {
    Hook previous = std::move(CurrentHook());
    CurrentHook() = std::move(hook);
    return previous;
}

} // namespace QuenleyMessage
