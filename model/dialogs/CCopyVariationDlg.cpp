#include "CCopyVariationDlg.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "QuenleyMessage.h"
#include "SectionKinds.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;
using QuenleyMessage::EIcon;

namespace {

// An edit with the little up and down arrows that step its number within a range.
QWidget* Stepper(QWidget* pParent, QLineEdit* pEdit, int nMin, int nMax) {
    auto* pBox = new QWidget(pParent);
    auto* pRow = new QHBoxLayout(pBox);
    pRow->setContentsMargins(0, 0, 0, 0);
    pRow->setSpacing(1);
    pRow->addWidget(pEdit);
    auto* pArrows = new QVBoxLayout;
    pArrows->setSpacing(0);
    for (int nStep : {1, -1}) {
        auto* pButton = new QToolButton(pBox);
        pButton->setArrowType(nStep > 0 ? Qt::UpArrow : Qt::DownArrow);
        pButton->setAutoRepeat(true);
        pButton->setFixedSize(14, 11);
        QObject::connect(pButton, &QToolButton::clicked, pEdit, [pEdit, nStep, nMin, nMax] {
            bool bOk = false;
            const int n = pEdit->text().toInt(&bOk);
            pEdit->setText(QString::number(std::clamp(bOk ? n + nStep : nMin, nMin, nMax)));
        });
        pArrows->addWidget(pButton);
    }
    pRow->addLayout(pArrows);
    return pBox;
}

} // namespace

CCopyVariationDlg::CCopyVariationDlg(CQuenleyDoc* pDoc, CSection* pSource, const QString& strTitle,
                                     QWidget* pParent)
    : QDialog(pParent) {
    setWindowTitle(tr("Copy to ..."));
    m_pTitle = new QLabel(strTitle, this);
    m_pTitle->setObjectName(QStringLiteral("source"));
    m_pTitle->setAlignment(Qt::AlignCenter);
    m_pTitle->setFrameShape(QFrame::StyledPanel);
    m_pNumber = new QLineEdit(this);
    m_pNumber->setObjectName(QStringLiteral("number"));
    m_pBank = new QLineEdit(this);
    m_pBank->setObjectName(QStringLiteral("bank"));
    for (QLineEdit* pEdit : {m_pNumber, m_pBank}) {
        pEdit->setAlignment(Qt::AlignCenter);
        pEdit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    }
    m_pStoreSounds = new QCheckBox(tr("store sounds under kit number"), this);
    m_pStoreSounds->setObjectName(QStringLiteral("storeSounds"));
    QWidget* pNumberBox = Stepper(this, m_pNumber, 0, 255);
    QWidget* pBankBox = Stepper(this, m_pBank, 0, 2);

    auto* pButtons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CCopyVariationDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(new QLabel(tr("Copy Variation"), this), 0, 0, 1, 2);
    pGrid->addWidget(m_pTitle, 1, 0, 1, 2);
    pGrid->addWidget(new QLabel(tr("to Variation"), this), 2, 0);
    pGrid->addWidget(new QLabel(tr("Bank"), this), 2, 1);
    pGrid->addWidget(pNumberBox, 3, 0);
    pGrid->addWidget(pBankBox, 3, 1);
    pGrid->addWidget(m_pStoreSounds, 4, 0, 1, 2);
    pGrid->addWidget(pButtons, 0, 2, 5, 1);

    m_pDoc = pDoc;
    m_pSource = pSource;
    const bool bKit = m_pSource && m_pSource->GetKind() == Kinds::kKit;
    if (!bKit) {
        m_pBank->setEnabled(false);
        pBankBox->setEnabled(false);
        m_pStoreSounds->setEnabled(false);
    }
    m_pNumber->setText(QString::number(m_nNumber));
    m_pBank->setText(QString::number(m_nBank));
    m_pStoreSounds->setChecked(m_bStoreSounds);
}

QString CCopyVariationDlg::VariationName(const CSection& kind, int nNumber) {
    if (kind.GetKind() == Kinds::kKit)
        return QStringLiteral("Kit%1 Bank%2")
            .arg(nNumber % Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'))
            .arg(nNumber / Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'));
    return QString::fromLatin1(kind.GetLabel()) +
           QStringLiteral("%1").arg(nNumber, 3, 10, QLatin1Char('0'));
}

bool CCopyVariationDlg::TakeInteger(QLineEdit* pEdit, int nMin, int nMax, int& rnValue) {
    bool bOk = false;
    const int nValue = pEdit->text().trimmed().toInt(&bOk);
    QString strProblem;
    if (!bOk)
        strProblem = tr("Please enter an integer.");
    else if (nValue < nMin || nValue > nMax)
        strProblem = tr("Please enter an integer between %1 and %2.").arg(nMin).arg(nMax);
    if (!strProblem.isEmpty()) {
        QuenleyMessage::Show(strProblem, EIcon::Warning, EButtons::Ok, this);
        pEdit->setFocus();
        pEdit->selectAll();
        return false;
    }
    rnValue = nValue;
    return true;
}

void CCopyVariationDlg::accept() {
    if (!m_pSource || !m_pDoc)
        return;
    const bool bKit = m_pSource->GetKind() == Kinds::kKit;
    int nBank = m_nBank;
    int nNumber = m_nNumber;
    if (bKit && !TakeInteger(m_pBank, 0, 2, nBank))
        return;
    if (!TakeInteger(m_pNumber, 0, 255, nNumber))
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
    if (m_bStoreSounds) {
        pTarget->SetName(source.GetName());
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
            const int nUsed = source.GetParam(Kinds::KitParamOfKind(nKind));
            CSection* pSound = m_pDoc->FindVariationOfKind(nKind, nUsed);
            if (pSound && CopySound(pSound))
                pTarget->SetParam(Kinds::KitParamOfKind(nKind), m_nNumber);
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
}
