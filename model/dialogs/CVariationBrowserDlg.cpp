#include "CVariationBrowserDlg.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "VariationList.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

CVariationBrowserDlg::CVariationBrowserDlg(CQuenleyDoc* pDoc, CSection* pSource,
                                           std::function<bool(CSection*)> openWindow,
                                           QWidget* pParent)
    : QDialog(pParent), m_openWindow(std::move(openWindow)) {
    setWindowTitle(tr("Variation Browser"));
    m_pList = VariationList::MakeList(this);
    m_pSelected = VariationList::MakeSelected(m_pList, this);
    auto* pAvailable = new QLabel(tr("&Available variations:"), this);
    pAvailable->setBuddy(m_pList);
    auto* pSelectedLabel = new QLabel(tr("&Selected  variation:"), this);
    pSelectedLabel->setBuddy(m_pList);
    auto* pButtons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CVariationBrowserDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(32, 32));

    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(pAvailable, 0, 0);
    pGrid->addWidget(m_pList, 1, 0);
    pGrid->addWidget(pSelectedLabel, 2, 0);
    pGrid->addWidget(m_pSelected, 3, 0);
    auto* pSide = new QVBoxLayout;
    pSide->addStretch();
    pSide->addWidget(pIcon, 0, Qt::AlignHCenter);
    pSide->addStretch();
    pSide->addWidget(pButtons);
    pGrid->addLayout(pSide, 0, 1, 4, 1);

    connect(m_pList, &QListWidget::currentRowChanged, this, &CVariationBrowserDlg::ShowSelection);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &CVariationBrowserDlg::ShowSelection);

    m_pSource = pSource;
    if (!m_pSource)
        return;
    m_pDoc = pDoc;
    if (!m_pDoc || m_pDoc->GetSectionList().empty()) {
        m_pSelected->setText(tr(" ... no variation found !"));
        return;
    }
    // The list runs from the LFOs down to the kits, numbers ascending within a kind.
    for (const auto& pSection : m_pDoc->GetSectionList()) {
        if (pSection->GetKind() < m_pSource->GetKind())
            break;
        if (pSection->IsSameKind(*m_pSource))
            m_pList->addItem(QString::fromLatin1(pSection->GetDisplayString()));
    }
    if (m_pList->count() > 0)
        m_pList->setCurrentRow(0);
}

void CVariationBrowserDlg::ShowSelection() {
    if (QListWidgetItem* pItem = m_pList->currentItem())
        m_pSelected->setText(pItem->text());
}

void CVariationBrowserDlg::accept() {
    if (!m_pDoc || !m_pSource)
        return;
    const int nChosen = m_pList->currentRow();
    if (nChosen < 0)
        return;
    CSection* pChoice = nullptr;
    int nIndex = 0;
    for (const auto& pSection : m_pDoc->GetSectionList()) {
        if (!pSection->IsSameKind(*m_pSource))
            continue;
        if (nIndex++ == nChosen) {
            pChoice = pSection.get();
            break;
        }
    }
    if (!pChoice)
        return;
    if (pChoice->GetNumber() != m_pSource->GetNumber() && !(m_openWindow && m_openWindow(pChoice)))
        return;
    QDialog::accept();
}
