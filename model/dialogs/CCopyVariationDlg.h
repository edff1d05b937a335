#pragma once

#include <QDialog>

class CQuenleyDoc;
class CSection;
class QCheckBox;
class QLabel;
class QLineEdit;

// "Copy to ...": copies the active window's variation to another number of its kind. A kit can
// go to another bank and can take its sounds along: "store sounds under kit number" gives the
// new kit private copies of every sound it uses, stored under the kit's own number.
class CCopyVariationDlg : public QDialog {
    Q_OBJECT

public:
    // strTitle names the source, as the window that shows it is titled. Without a project or a
    // source the dialog opens, and OK does nothing.
    CCopyVariationDlg(CQuenleyDoc* pDoc, CSection* pSource, const QString& strTitle,
                      QWidget* pParent = nullptr);

    QLineEdit* NumberEdit() const { return m_pNumber; }
    QLineEdit* BankEdit() const { return m_pBank; }
    QCheckBox* StoreSoundsBox() const { return m_pStoreSounds; }

    void accept() override;

    // "Kick007", "Kit044 Bank001": how the questions name a variation.
    static QString VariationName(const CSection& kind, int nNumber);

private:
    // Reads an edit as an integer in nMin..nMax, or tells the user why not.
    bool TakeInteger(QLineEdit* pEdit, int nMin, int nMax, int& rnValue);
    void CopyInstrument(int nTarget);
    void CopyKit(int nTarget);
    // Copies one of the source kit's sounds to number m_nNumber of its kind; false when it
    // was skipped or failed.
    bool CopySound(CSection* pSound);
    // The question for a target that exists; true to go on.
    bool MayOverwrite(const CSection& kind, int nNumber, bool bYesNo);

    QLabel* m_pTitle = nullptr;
    QLineEdit* m_pNumber = nullptr;
    QLineEdit* m_pBank = nullptr;
    QCheckBox* m_pStoreSounds = nullptr;
    int m_nBank = 0;
    int m_nNumber = 0;
    bool m_bStoreSounds = false;
    CSection* m_pSource = nullptr;
    CQuenleyDoc* m_pDoc = nullptr;
};
