#pragma once

class QDialog;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPushButton;
class QString;

// What the input and output device dialogs share: the list of ports, the read-out of the chosen
// one, their labels, and the column of OK, Cancel and Refresh. OK and Cancel are wired to the
// dialog's accept and reject; Refresh is left to the dialog.
struct SDevicePicker {
    QListWidget* pList = nullptr;
    QLabel* pSelected = nullptr;
    QLabel* pPortsLabel = nullptr;
    QLabel* pSelectedLabel = nullptr;
    QDialogButtonBox* pButtons = nullptr;
    QPushButton* pRefresh = nullptr;
};

SDevicePicker MakeDevicePicker(QDialog* pDialog, const QString& strRefreshTip);
