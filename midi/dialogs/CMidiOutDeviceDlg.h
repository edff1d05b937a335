#pragma once

#include <QDialog>

class CMidiWnd;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

// Chooses the MIDI output device and the channel (1..16) every message to the module uses.
// OK writes the choice straight into the MIDI link; the port is neither opened nor closed here.
class CMidiOutDeviceDlg : public QDialog {
    Q_OBJECT

public:
    CMidiOutDeviceDlg(CMidiWnd* pMidiWnd, QWidget* pParent = nullptr);

    QListWidget* DeviceList() const { return m_pList; }
    QLabel* SelectedText() const { return m_pSelected; }
    QLineEdit* ChannelEdit() const { return m_pChannel; }

    void accept() override;

private:
    // Writes the stored channel into the edit, as the dialog's fields are written to controls.
    void ShowChannel();
    void OnSelectionChanged();
    void StepChannel(int nStep);

    QLabel* m_pSelected = nullptr;
    QListWidget* m_pList = nullptr;
    QLineEdit* m_pChannel = nullptr;
    QToolButton* m_pUp = nullptr;
    QToolButton* m_pDown = nullptr;
    int m_nMidiCh = 1;
    CMidiWnd* m_pMidiWnd = nullptr;
};
