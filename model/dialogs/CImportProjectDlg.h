#pragma once

#include <QDialog>

class CQuenleyDoc;
class CSection;
class QLabel;
class QListWidget;

// "Import from Project": lists every variation and kit of another project, as the browser lists
// a kind's, from the LFOs down to the kits, and takes the one chosen.
class CImportProjectDlg : public QDialog {
    Q_OBJECT

public:
    explicit CImportProjectDlg(CQuenleyDoc& project, QWidget* pParent = nullptr);

    QListWidget* List() const { return m_pList; }
    QLabel* SelectedText() const { return m_pSelected; }
    // The section chosen with OK; null until then.
    CSection* Choice() const { return m_pChoice; }

    void accept() override;

private:
    CQuenleyDoc& m_project;
    QListWidget* m_pList = nullptr;
    QLabel* m_pSelected = nullptr;
    CSection* m_pChoice = nullptr;
};
