#pragma once

#include <QDialog>

class CMidiWnd;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

// Chooses the MIDI output device and the channel (1..16) every message to the module uses.
// OK writes the choice straight into the MIDI link; the port is neither opened nor closed here.
// The device list is read afresh when the dialog opens and on Refresh, but only while the port
// is closed: an open port may be carrying the user's playing, so it keeps its device (only the
// channel can be changed) and the dialog says why.
class CMidiOutDeviceDlg : public QDialog {
    Q_OBJECT

public:
    CMidiOutDeviceDlg(CMidiWnd* pMidiWnd, QWidget* pParent = nullptr);

    QListWidget* DeviceList() const { return m_pList; }
    QLabel* SelectedText() const { return m_pSelected; }
    QLineEdit* ChannelEdit() const { return m_pChannel; }
    QPushButton* RefreshButton() const { return m_pRefresh; }
    // Why Refresh is not available, or what the last reading found; empty when nothing to say.
    QLabel* NoteText() const { return m_pNote; }
    // Whether the editor opens the port when it starts; the caller keeps it.
    QCheckBox* ActivateAtStartBox() const { return m_pActivateAtStart; }
    bool ActivateAtStart() const;
    void SetActivateAtStart(bool bOn);

    void accept() override;

protected:
    // Up and Down in the channel edit step the channel, as its arrow buttons do.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Writes the stored channel into the edit, as the dialog's fields are written to controls.
    void ShowChannel();
    void OnSelectionChanged();
    void StepChannel(int nStep);
    // Reads the device list again (port closed only) and shows it.
    void Refresh();
    // Shows the link's list, the chosen device and the state of Refresh; a line the user had
    // picked and not yet confirmed stays picked if it is still there.
    void ShowDevices(const QString& strPicked);
    void EnableChoice(bool bEnable);

    QLabel* m_pSelected = nullptr;
    QListWidget* m_pList = nullptr;
    QLineEdit* m_pChannel = nullptr;
    QToolButton* m_pUp = nullptr;
    QToolButton* m_pDown = nullptr;
    QPushButton* m_pRefresh = nullptr;
    QLabel* m_pNote = nullptr;
    QCheckBox* m_pActivateAtStart = nullptr;
    int m_nMidiCh = 1;
    CMidiWnd* m_pMidiWnd = nullptr;
};
