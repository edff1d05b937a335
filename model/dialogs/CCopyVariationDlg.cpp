#include "CCopyVariationDlg.h"

#include "CProjectChange.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
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
                                     QWidget* pParent)
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

QString CCopyVariationDlg::VariationName(const CSection& kind, int nNumber) {
    if (kind.GetKind() == Kinds::kKit)
        return QStringLiteral("Kit%1 Bank%2")
            .arg(nNumber % Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'))
            .arg(nNumber / Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'));
    return QString::fromLatin1(kind.GetLabel()) +
           QStringLiteral("%1").arg(nNumber, 3, 10, QLatin1Char('0'));
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

QString CCopyVariationDlg::Title(const CSection& section) {
    return CProjectChange::Title(section.GetKind(), section.GetNumber());
}

void CCopyVariationDlg::accept() {
    m_strOutcome.clear();
    if (!m_pSource || !m_pDoc)
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
    if (nTarget == m_pSource->GetNumber())
        return;
    if (bKit)
        CopyKit(nTarget);
    else
        CopyInstrument(nTarget);
    QDialog::accept();
}

bool CCopyVariationDlg::MayOverwrite(const CSection& kind, int nNumber, bool bYesNo) {
    const QString strText = VariationName(kind, nNumber) + tr(" always exist\noverwrite ?");
    const EAnswer eAnswer = QuenleyMessage::Show(
        strText, EIcon::Warning, bYesNo ? EButtons::YesNo : EButtons::OkCancel, this);
    return eAnswer == (bYesNo ? EAnswer::Yes : EAnswer::Ok);
}

void CCopyVariationDlg::CopyInstrument(int nTarget) {
    if (m_pDoc->FindVariation(m_pSource, nTarget) && !MayOverwrite(*m_pSource, nTarget, false))
        return;
    CSection* pTarget = m_pDoc->FindOrCreateVariation(m_pSource, nTarget);
    if (!pTarget)
        return;
    if (!pTarget->CopyFrom(*m_pSource)) {
        QuenleyMessage::Show(tr("Error copy variation !"), EIcon::Warning, EButtons::Ok, this);
        return;
    }
    // Overwriting changes the user's data as much as creating does.
    m_pDoc->SetModifiedFlag(true);
    pTarget->SendAll();
    m_pDoc->UpdateAllViews(nullptr, 0, pTarget);
    m_strOutcome = tr("%1 copied to %2.").arg(Title(*m_pSource), Title(*pTarget));
}

bool CCopyVariationDlg::CopySound(CSection* pSound) {
    // The kit already uses the sound stored under that number: nothing to copy.
    if (pSound->GetNumber() == m_nNumber)
        return true;
    if (m_pDoc->FindVariation(pSound, m_nNumber) && !MayOverwrite(*pSound, m_nNumber, true))
        return false;
    CSection* pTarget = m_pDoc->FindOrCreateVariation(pSound, m_nNumber);
    if (!pTarget)
        return false;
    if (!pTarget->CopyFrom(*pSound)) {
        QuenleyMessage::Show(tr("Error copy variation !"), EIcon::Warning, EButtons::Ok, this);
        return false;
    }
    m_pDoc->SetModifiedFlag(true);
    pTarget->SendAll();
    m_pDoc->UpdateAllViews(nullptr, 0, pTarget);
    return true;
}

void CCopyVariationDlg::CopyKit(int nTarget) {
    if (m_pDoc->FindVariation(m_pSource, nTarget) && !MayOverwrite(*m_pSource, nTarget, true))
        return;
    CSection* pTarget = m_pDoc->FindOrCreateVariation(m_pSource, nTarget);
    if (!pTarget)
        return;
    CSection& source = *m_pSource;
    int nSounds = 0;
    if (m_bStoreSounds) {
        pTarget->SetName(source.GetName());
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
            const int nUsed = source.GetParam(Kinds::KitParamOfKind(nKind));
            CSection* pSound = m_pDoc->FindVariationOfKind(nKind, nUsed);
            if (pSound && CopySound(pSound)) {
                pTarget->SetParam(Kinds::KitParamOfKind(nKind), m_nNumber);
                ++nSounds;
            }
        }
    } else if (!pTarget->CopyFrom(source)) {
        QuenleyMessage::Show(tr("Error copy variation !"), EIcon::Warning, EButtons::Ok, this);
        return;
    }
    // An active kit's sounds are the active ones, whichever way the kit was filled.
    if (pTarget->IsActive()) {
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
            const int nUsed = pTarget->GetParam(Kinds::KitParamOfKind(nKind));
            if (nUsed < CSection::kNoValue)
                m_pDoc->MakeActive(nKind, nUsed);
        }
    }
    m_pDoc->SetModifiedFlag(true);
    pTarget->SendAll();
    m_pDoc->UpdateAllViews(nullptr, 0, pTarget);
    const QString strFrom = Title(source);
    const QString strTo = Title(*pTarget);
    if (!m_bStoreSounds)
        m_strOutcome = tr("%1 copied to %2.").arg(strFrom, strTo);
    else if (nSounds == 0)
        m_strOutcome = tr("%1 copied to %2 with no sounds.").arg(strFrom, strTo);
    else if (nSounds == 1)
        m_strOutcome = tr("%1 copied to %2 with 1 sound.").arg(strFrom, strTo);
    else
        m_strOutcome = tr("%1 copied to %2 with %3 sounds.").arg(strFrom, strTo).arg(nSounds);
}
