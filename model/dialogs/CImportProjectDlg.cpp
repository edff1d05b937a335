#include "CImportProjectDlg.h"

#include "CQuenleyDoc.h"
#include "CSection.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <iterator>

CImportProjectDlg::CImportProjectDlg(CQuenleyDoc& project, QWidget* pParent)
    : QDialog(pParent), m_project(project) {
    setWindowTitle(tr("Import from Project"));
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("variations"));
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    // The lines are fixed-width display strings; they line up in a fixed-width font.
    m_pList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pSelected = new QLabel(this);
    m_pSelected->setObjectName(QStringLiteral("selected"));
    m_pSelected->setAlignment(Qt::AlignCenter);
    m_pSelected->setFrameShape(QFrame::StyledPanel);
    m_pSelected->setFont(m_pList->font());
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
