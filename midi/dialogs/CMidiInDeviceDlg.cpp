#include "CMidiInDeviceDlg.h"

#include "CMidiInput.h"
#include "DevicePicker.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CMidiInDeviceDlg::CMidiInDeviceDlg(CMidiInput* pInput, const QString& strChosen,
                                   QWidget* pParent)
    : QDialog(pParent), m_pInput(pInput), m_strChosen(strChosen) {
    setWindowTitle(tr("Midi Input Device"));

    const SDevicePicker picker = MakeDevicePicker(
        this, tr("Read the list of MIDI inputs again, for a device plugged in or started since"));
    m_pList = picker.pList;
    m_pSelected = picker.pSelected;
    m_pRefresh = picker.pRefresh;
    connect(m_pRefresh, &QPushButton::clicked, this, &CMidiInDeviceDlg::Refresh);
    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(32, 32));

    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(picker.pPortsLabel, 0, 0);
    pGrid->addWidget(m_pList, 1, 0);
    pGrid->addWidget(picker.pSelectedLabel, 2, 0);
    pGrid->addWidget(m_pSelected, 3, 0);
    auto* pSide = new QVBoxLayout;
    pSide->addWidget(pIcon, 0, Qt::AlignHCenter);
    pSide->addStretch();
    pSide->addWidget(picker.pButtons);
    pGrid->addLayout(pSide, 0, 1, 4, 1);
    pGrid->setColumnStretch(0, 1);

    connect(m_pList, &QListWidget::itemSelectionChanged, this,
            &CMidiInDeviceDlg::OnSelectionChanged);
    if (!m_pInput) {
        m_pSelected->setText(tr("  Midi-Device error !"));
        m_pList->setEnabled(false);
        m_pRefresh->setEnabled(false);
        return;
    }
    ShowDevices(QString());
}

void CMidiInDeviceDlg::ShowDevices(const QString& strPicked) {
    m_pList->clear();
    const QStringList names = m_pInput->DeviceNames();
    m_pList->setEnabled(!names.isEmpty());
    for (const QString& strName : names) {
        m_pList->addItem(strName);
        if (!strPicked.isEmpty() && strName == strPicked)
            m_pList->setCurrentRow(int(m_pList->count() - 1));
    }
    if (!m_pList->selectedItems().isEmpty())
        return; // the picked line shows itself
    if (names.isEmpty() && m_strChosen.isEmpty())
        m_pSelected->setText(tr("  Midi-Device not found !"));
    else if (m_strChosen.isEmpty())
        m_pSelected->setText(QStringLiteral(" "));
    else if (names.contains(m_strChosen))
        m_pSelected->setText(m_strChosen);
    else
        // Chosen before and not plugged in now: say so rather than show nothing.
        m_pSelected->setText(tr("%1 (not found)").arg(m_strChosen));
}

void CMidiInDeviceDlg::Refresh() {
    if (!m_pInput)
        return;
    ShowDevices(Picked());
}

QString CMidiInDeviceDlg::Picked() const {
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

void CMidiInDeviceDlg::OnSelectionChanged() {
    if (const QString strPicked = Picked(); !strPicked.isEmpty())
        m_pSelected->setText(strPicked);
}

void CMidiInDeviceDlg::accept() {
    if (!m_pInput)
        return;
    if (const QString strPicked = Picked(); !strPicked.isEmpty())
        m_strChosen = strPicked;
    QDialog::accept();
}
