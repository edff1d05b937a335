#include "CImportProjectDlg.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "VariationList.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <iterator>

CImportProjectDlg::CImportProjectDlg(CQuenleyDoc& project, QWidget* pParent)
    : QDialog(pParent), m_project(project) {
    setWindowTitle(tr("Import from Project"));
    m_pList = VariationList::MakeList(this);
    m_pSelected = VariationList::MakeSelected(m_pList, this);
    auto* pAvailable = new QLabel(tr("&Available variations:"), this);
    pAvailable->setBuddy(m_pList);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CImportProjectDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pAvailable);
    pLayout->addWidget(m_pList);
    pLayout->addWidget(m_pSelected);
    pLayout->addWidget(pButtons);

    connect(m_pList, &QListWidget::currentRowChanged, this, [this] {
        if (QListWidgetItem* pItem = m_pList->currentItem())
            m_pSelected->setText(pItem->text());
    });
    for (const auto& pSection : m_project.GetSectionList())
        m_pList->addItem(QString::fromLatin1(pSection->GetDisplayString()));
    if (m_pList->count() > 0)
        m_pList->setCurrentRow(0);
    else
        m_pSelected->setText(tr(" ... no variation found !"));
}

void CImportProjectDlg::accept() {
    const int nChosen = m_pList->currentRow();
    const CSectionList& sections = m_project.GetSectionList();
    if (nChosen < 0 || nChosen >= int(sections.size()))
        return;
    m_pChoice = std::next(sections.begin(), nChosen)->get();
    QDialog::accept();
}
