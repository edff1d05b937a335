#pragma once

#include <QDialog>

#include <functional>

class CQuenleyDoc;
class CSection;
class QLabel;
class QListWidget;

// "Variation Browser": lists every variation of the active window's kind in the project, in
// number order, and opens a second window on the chosen one.
class CVariationBrowserDlg : public QDialog {
    Q_OBJECT

public:
    // openWindow opens a window of the source's view type on the chosen section; false keeps the
    // dialog open.
    CVariationBrowserDlg(CQuenleyDoc* pDoc, CSection* pSource,
                         std::function<bool(CSection*)> openWindow, QWidget* pParent = nullptr);

    QListWidget* List() const { return m_pList; }
    QLabel* SelectedText() const { return m_pSelected; }

    void accept() override;

private:
    void ShowSelection();

    QListWidget* m_pList = nullptr;
    QLabel* m_pSelected = nullptr;
    CQuenleyDoc* m_pDoc = nullptr;
    CSection* m_pSource = nullptr;
    std::function<bool(CSection*)> m_openWindow;
};
