#include "DevicePicker.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

SDevicePicker MakeDevicePicker(QDialog* pDialog, const QString& strRefreshTip) {
    SDevicePicker picker;
    picker.pList = new QListWidget(pDialog);
    picker.pList->setObjectName(QStringLiteral("devices"));
    picker.pList->setSelectionMode(QAbstractItemView::SingleSelection);
    picker.pSelected = new QLabel(pDialog);
    picker.pSelected->setObjectName(QStringLiteral("selected"));
    picker.pSelected->setAlignment(Qt::AlignCenter);
    picker.pSelected->setFrameShape(QFrame::StyledPanel);

    picker.pPortsLabel = new QLabel(QDialog::tr("&Available Midi-Ports:"), pDialog);
    picker.pPortsLabel->setBuddy(picker.pList);
    picker.pSelectedLabel = new QLabel(QDialog::tr("&Selected Midi-Port:"), pDialog);
    picker.pSelectedLabel->setBuddy(picker.pList);
    picker.pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                           Qt::Vertical, pDialog);
    QObject::connect(picker.pButtons, &QDialogButtonBox::accepted, pDialog, &QDialog::accept);
    QObject::connect(picker.pButtons, &QDialogButtonBox::rejected, pDialog, &QDialog::reject);
    picker.pRefresh =
        picker.pButtons->addButton(QDialog::tr("&Refresh"), QDialogButtonBox::ActionRole);
    picker.pRefresh->setObjectName(QStringLiteral("refresh"));
    picker.pRefresh->setToolTip(strRefreshTip);
    // Not a default button: Enter in an edit of the dialog still means OK.
    picker.pRefresh->setAutoDefault(false);
    return picker;
}
