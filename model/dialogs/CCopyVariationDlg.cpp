#include "CCopyVariationDlg.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "CopyOperations.h"
#include "QuenleyMessage.h"
#include "SectionKinds.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

CCopyVariationDlg::CCopyVariationDlg(CQuenleyDoc* pDoc, CSection* pSource, const QString& strTitle,
                                     QWidget* pParent, CQuenleyDoc* pSourceDoc)
    : QDialog(pParent) {
    setWindowTitle(tr("Copy to ..."));
    m_pTitle = new QLabel(strTitle, this);
    m_pTitle->setObjectName(QStringLiteral("source"));
    m_pTitle->setAlignment(Qt::AlignCenter);
    m_pTitle->setFrameShape(QFrame::StyledPanel);
    m_pNumber = new QSpinBox(this);
    m_pNumber->setObjectName(QStringLiteral("number"));
    m_pNumber->setRange(0, 255);
    m_pBank = new QSpinBox(this);
    m_pBank->setObjectName(QStringLiteral("bank"));
    m_pBank->setRange(0, 2);
    for (QSpinBox* pBox : {m_pNumber, m_pBank})
        pBox->setAlignment(Qt::AlignCenter);
    m_pStoreSounds = new QCheckBox(tr("store sounds under kit number"), this);
    m_pStoreSounds->setObjectName(QStringLiteral("storeSounds"));

    auto* pButtons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CCopyVariationDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(new QLabel(tr("Copy Variation"), this), 0, 0, 1, 2);
    pGrid->addWidget(m_pTitle, 1, 0, 1, 2);
    pGrid->addWidget(new QLabel(tr("to Variation"), this), 2, 0);
    pGrid->addWidget(new QLabel(tr("Bank"), this), 2, 1);
    pGrid->addWidget(m_pNumber, 3, 0);
    pGrid->addWidget(m_pBank, 3, 1);
    pGrid->addWidget(m_pStoreSounds, 4, 0, 1, 2);
    pGrid->addWidget(pButtons, 0, 2, 5, 1);

    m_pDoc = pDoc;
    m_pSourceDoc = pSourceDoc ? pSourceDoc : pDoc;
    m_pSource = pSource;
    const bool bKit = m_pSource && m_pSource->GetKind() == Kinds::kKit;
    if (!bKit) {
        m_pBank->setEnabled(false);
        m_pStoreSounds->setEnabled(false);
    }
    m_pNumber->setValue(m_nNumber);
    m_pBank->setValue(m_nBank);
    m_pStoreSounds->setChecked(m_bStoreSounds);
}

QLineEdit* CCopyVariationDlg::NumberEdit() const {
    return m_pNumber->findChild<QLineEdit*>();
}

QLineEdit* CCopyVariationDlg::BankEdit() const {
    return m_pBank->findChild<QLineEdit*>();
}

bool CCopyVariationDlg::TakeInteger(QSpinBox* pBox, int& rnValue) {
    // The spin box refuses keys that would leave its range, but a field emptied, or filled some
    // other way, still holds text that is no number in it.
    bool bOk = false;
    const int nValue = pBox->cleanText().trimmed().toInt(&bOk);
    QString strProblem;
    if (!bOk)
        strProblem = tr("Please enter an integer.");
    else if (nValue < pBox->minimum() || nValue > pBox->maximum())
        strProblem = tr("Please enter an integer between %1 and %2.")
                         .arg(pBox->minimum())
                         .arg(pBox->maximum());
    if (!strProblem.isEmpty()) {
        QuenleyMessage::Show(strProblem, EIcon::Warning, EButtons::Ok, this);
        pBox->setFocus();
        pBox->selectAll();
        return false;
    }
    rnValue = nValue;
    return true;
}

void CCopyVariationDlg::accept() {
    m_strOutcome.clear();
    if (!m_pSource || !m_pDoc || !m_pSourceDoc)
        return;
    const bool bKit = m_pSource->GetKind() == Kinds::kKit;
    int nBank = m_nBank;
    int nNumber = m_nNumber;
    if (bKit && !TakeInteger(m_pBank, nBank))
        return;
    if (!TakeInteger(m_pNumber, nNumber))
        return;
    m_nBank = nBank;
    m_nNumber = nNumber;
    m_bStoreSounds = bKit && m_pStoreSounds->isChecked();
    const int nTarget = bKit ? m_nBank * Kinds::kKitsPerBank + m_nNumber : m_nNumber;
    if (m_pSourceDoc == m_pDoc && nTarget == m_pSource->GetNumber())
        return;
    const CopyOperations::SResult result = CopyOperations::Copy(
        *m_pDoc, *m_pSourceDoc, *m_pSource, nTarget, {m_bStoreSounds},
        [this](const CopyOperations::SQuestion& q) {
            const EButtons eButtons = q.bYesNo ? EButtons::YesNo : EButtons::OkCancel;
            if (q.eType == CopyOperations::SQuestion::EType::kCopyFailed) {
                QuenleyMessage::Show(q.strText, EIcon::Warning, EButtons::Ok, this);
                return false;
            }
            return QuenleyMessage::Show(q.strText, EIcon::Warning, eButtons, this) ==
                   (q.bYesNo ? EAnswer::Yes : EAnswer::Ok);
        });
    m_strOutcome = result.strOutcome;
    QDialog::accept();
}
