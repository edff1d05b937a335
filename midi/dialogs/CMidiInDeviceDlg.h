#pragma once

#include <QDialog>
#include <QString>

class CMidiInput;
class QLabel;
class QListWidget;
class QPushButton;

// Chooses the MIDI input the module's dumps come in through, held by the device's full name.
// The list is read afresh when the dialog opens and on Refresh; a chosen device that is not
// plugged in stays chosen, marked as not found, until another is picked. Nothing is opened.
class CMidiInDeviceDlg : public QDialog {
    Q_OBJECT

public:
    CMidiInDeviceDlg(CMidiInput* pInput, const QString& strChosen, QWidget* pParent = nullptr);

    QListWidget* DeviceList() const { return m_pList; }
    QLabel* SelectedText() const { return m_pSelected; }
    QPushButton* RefreshButton() const { return m_pRefresh; }
    // The choice after OK: the line picked, or the one chosen before when none was.
    QString ChosenName() const { return m_strChosen; }

    void accept() override;

private:
    void Refresh();
    void ShowDevices(const QString& strPicked);
    void OnSelectionChanged();
    // The line picked in the list, empty for none.
    QString Picked() const;

    CMidiInput* m_pInput = nullptr;
    QString m_strChosen;
    QListWidget* m_pList = nullptr;
    QLabel* m_pSelected = nullptr;
    QPushButton* m_pRefresh = nullptr;
};
