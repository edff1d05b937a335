#pragma once

#include <QDialog>

class CQuenleyDoc;
class CSection;
class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// "Copy to ...": copies the active window's variation to another number of its kind. A kit can
// go to another bank and can take its sounds along: "store sounds under kit number" gives the
// new kit private copies of every sound it uses, stored under the kit's own number.
class CCopyVariationDlg : public QDialog {
    Q_OBJECT

public:
    // strTitle names the source, as the window that shows it is titled. Without a project or a
    // source the dialog opens, and OK does nothing. The source is a section of pDoc, or of
    // pSourceDoc when it comes from another project.
    CCopyVariationDlg(CQuenleyDoc* pDoc, CSection* pSource, const QString& strTitle,
                      QWidget* pParent = nullptr, CQuenleyDoc* pSourceDoc = nullptr);

    QSpinBox* NumberBox() const { return m_pNumber; }
    QSpinBox* BankBox() const { return m_pBank; }
    // The text fields of the two spin boxes, as typed into.
    QLineEdit* NumberEdit() const;
    QLineEdit* BankEdit() const;
    QCheckBox* StoreSoundsBox() const { return m_pStoreSounds; }

    void accept() override;
    // What was copied where, for the status bar ("Kick 003 copied to Kick 012."); empty when
    // nothing was, because the user said no or the copy failed.
    QString Outcome() const { return m_strOutcome; }

private:
    // Reads a field's text as an integer in its range, or tells the user why not.
    bool TakeInteger(QSpinBox* pBox, int& rnValue);

    QLabel* m_pTitle = nullptr;
    QSpinBox* m_pNumber = nullptr;
    QSpinBox* m_pBank = nullptr;
    QCheckBox* m_pStoreSounds = nullptr;
    int m_nBank = 0;
    int m_nNumber = 0;
    bool m_bStoreSounds = false;
    CSection* m_pSource = nullptr;
    CQuenleyDoc* m_pDoc = nullptr;
    CQuenleyDoc* m_pSourceDoc = nullptr;
    QString m_strOutcome;
};
