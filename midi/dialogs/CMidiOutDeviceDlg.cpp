#include "CMidiOutDeviceDlg.h"

#include "CMidiWnd.h"
#include "DevicePicker.h"
#include "QuenleyMessage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kFirstChannel = 1;
constexpr int kLastChannel = 16;
} // namespace

CMidiOutDeviceDlg::CMidiOutDeviceDlg(CMidiWnd* pMidiWnd, QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(tr("Midi Output Device"));

    const SDevicePicker picker = MakeDevicePicker(
        this, tr("Read the list of MIDI outputs again, for a device plugged in or started since"));
    m_pList = picker.pList;
    m_pSelected = picker.pSelected;
    m_pRefresh = picker.pRefresh;
    m_pChannel = new QLineEdit(this);
    m_pChannel->setObjectName(QStringLiteral("channel"));
    m_pChannel->setAlignment(Qt::AlignCenter);
    m_pChannel->setMaxLength(5);
    m_pChannel->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    // Digits only, as the edit always allowed; the range is checked on OK.
    m_pChannel->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_pUp = new QToolButton(this);
    m_pDown = new QToolButton(this);
    m_pUp->setArrowType(Qt::UpArrow);
    m_pDown->setArrowType(Qt::DownArrow);
    m_pUp->setAutoRepeat(true);
    m_pDown->setAutoRepeat(true);
    for (QToolButton* p : {m_pUp, m_pDown}) {
        p->setFixedSize(14, 11);
        // The keyboard steps the channel with Up and Down in the edit itself.
        p->setFocusPolicy(Qt::NoFocus);
    }
    m_pChannel->installEventFilter(this);
    connect(m_pUp, &QToolButton::clicked, this, [this] { StepChannel(1); });
    connect(m_pDown, &QToolButton::clicked, this, [this] { StepChannel(-1); });

    auto* pChannelLabel = new QLabel(tr("&Midi Channel"), this);
    pChannelLabel->setBuddy(m_pChannel);
    connect(m_pRefresh, &QPushButton::clicked, this, &CMidiOutDeviceDlg::Refresh);
    m_pNote = new QLabel(this);
    m_pNote->setObjectName(QStringLiteral("note"));
    m_pNote->setWordWrap(true);
    m_pNote->hide();
    m_pActivateAtStart = new QCheckBox(tr("Activate at start"), this);
    m_pActivateAtStart->setObjectName(QStringLiteral("activateAtStart"));
    m_pActivateAtStart->setToolTip(
        tr("Open the port as soon as the editor starts, as Activate does"));
    auto* pIcon = new QLabel(this);
    pIcon->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(32, 32));

    auto* pSpin = new QVBoxLayout;
    pSpin->setSpacing(0);
    pSpin->addWidget(m_pUp);
    pSpin->addWidget(m_pDown);
    auto* pChannelRow = new QHBoxLayout;
    pChannelRow->setSpacing(1);
    pChannelRow->addWidget(m_pChannel);
    pChannelRow->addLayout(pSpin);
    pChannelRow->addStretch();

    auto* pGrid = new QGridLayout(this);
    pGrid->addWidget(picker.pPortsLabel, 0, 0, 1, 2);
    pGrid->addWidget(m_pList, 1, 0, 1, 2);
    pGrid->addWidget(picker.pSelectedLabel, 2, 0);
    pGrid->addWidget(pChannelLabel, 2, 1);
    pGrid->addWidget(m_pSelected, 3, 0);
    pGrid->addLayout(pChannelRow, 3, 1);
    auto* pSide = new QVBoxLayout;
    pSide->addWidget(pIcon, 0, Qt::AlignHCenter);
    pSide->addStretch();
    pSide->addWidget(picker.pButtons);
    pGrid->addLayout(pSide, 0, 2, 4, 1);
    pGrid->addWidget(m_pActivateAtStart, 4, 0, 1, 2);
    pGrid->addWidget(m_pNote, 5, 0, 1, 3);
    pGrid->setColumnStretch(0, 1);

    // The choices first, top to bottom, then the buttons.
    setTabOrder(m_pList, m_pChannel);
    setTabOrder(m_pChannel, m_pActivateAtStart);
    setTabOrder(m_pActivateAtStart, picker.pButtons);

    connect(m_pList, &QListWidget::itemSelectionChanged, this,
            &CMidiOutDeviceDlg::OnSelectionChanged);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &CMidiOutDeviceDlg::OnSelectionChanged);

    m_pMidiWnd = pMidiWnd;
    ShowChannel();
    if (!m_pMidiWnd) {
        m_pSelected->setText(tr("  Midi-Device error !"));
        EnableChoice(false);
        m_pRefresh->setEnabled(false);
        return;
    }
    m_nMidiCh = m_pMidiWnd->GetMidiChannel() + 1;
    // Devices plugged in or started since the last look are offered; the chosen one is found
    // by its name wherever it now sits.
    if (!m_pMidiWnd->IsOpen())
        m_pMidiWnd->DMidiOutInit();
    ShowDevices(QString());
    ShowChannel();
}

bool CMidiOutDeviceDlg::ActivateAtStart() const {
    return m_pActivateAtStart->isChecked();
}

void CMidiOutDeviceDlg::SetActivateAtStart(bool bOn) {
    m_pActivateAtStart->setChecked(bOn);
}

void CMidiOutDeviceDlg::EnableChoice(bool bEnable) {
    m_pList->setEnabled(bEnable);
    m_pChannel->setEnabled(bEnable);
    m_pUp->setEnabled(bEnable);
    m_pDown->setEnabled(bEnable);
}

void CMidiOutDeviceDlg::ShowDevices(const QString& strPicked) {
    const bool bOpen = m_pMidiWnd->IsOpen();
    m_pRefresh->setEnabled(!bOpen);
    m_pNote->setVisible(bOpen);
    if (bOpen)
        m_pNote->setText(tr("The port is open. Deactivate it to choose another MIDI output or "
                            "to read the list again."));
    m_pList->clear();
    if (m_pMidiWnd->GetNumDevs() == 0) {
        m_pSelected->setText(tr("  Midi-Device not found !"));
        EnableChoice(false);
        return;
    }
    EnableChoice(true);
    // The open port stays with its device; the channel can still be changed.
    m_pList->setEnabled(!bOpen);
    for (std::uint32_t i = 0; i < m_pMidiWnd->GetNumDevs(); ++i) {
        const QString strName = QString::fromUtf8(m_pMidiWnd->GetDeviceName(i));
        m_pList->addItem(strName);
        if (!strPicked.isEmpty() && strName == strPicked)
            m_pList->setCurrentRow(int(i));
    }
    if (QListWidgetItem* pItem = m_pList->currentItem(); pItem && pItem->isSelected())
        return; // the picked line shows itself
    const char* pszCurrent = m_pMidiWnd->GetDeviceName(m_pMidiWnd->GetMidiDevice());
    if (pszCurrent)
        m_pSelected->setText(QString::fromUtf8(pszCurrent));
    else if (!m_pMidiWnd->GetMidiDeviceName().empty())
        // Chosen before and not plugged in now: say so rather than show nothing.
        m_pSelected->setText(
            tr("%1 (not found)").arg(QString::fromStdString(m_pMidiWnd->GetMidiDeviceName())));
    else
        m_pSelected->setText(QStringLiteral(" "));
}

void CMidiOutDeviceDlg::Refresh() {
    if (!m_pMidiWnd || m_pMidiWnd->IsOpen())
        return;
    QString strPicked;
    if (QListWidgetItem* pItem = m_pList->currentItem(); pItem && pItem->isSelected())
        strPicked = pItem->text();
    // Rebuilding the list touches the selection, which puts the channel back: keep what was
    // typed.
    const QString strChannel = m_pChannel->text();
    m_pMidiWnd->DMidiOutInit();
    ShowDevices(strPicked);
    m_pChannel->setText(strChannel);
}

void CMidiOutDeviceDlg::ShowChannel() {
    m_pChannel->setText(QString::number(m_nMidiCh));
}

void CMidiOutDeviceDlg::OnSelectionChanged() {
    if (!m_pMidiWnd)
        return;
    if (QListWidgetItem* pItem = m_pList->currentItem(); pItem && pItem->isSelected())
        m_pSelected->setText(pItem->text());
    // A channel typed but not confirmed goes back to the stored one.
    ShowChannel();
}

void CMidiOutDeviceDlg::StepChannel(int nStep) {
    bool bOk = false;
    const int nNow = m_pChannel->text().toInt(&bOk);
    const int nNext = bOk ? nNow + nStep : m_nMidiCh;
    m_pChannel->setText(QString::number(std::clamp(nNext, kFirstChannel, kLastChannel)));
}

bool CMidiOutDeviceDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pChannel && pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Up || nKey == Qt::Key_Down) {
            StepChannel(nKey == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void CMidiOutDeviceDlg::accept() {
    if (!m_pMidiWnd)
        return;
    bool bOk = false;
    const int nChannel = m_pChannel->text().trimmed().toInt(&bOk);
    if (!bOk) {
        QuenleyMessage::Show(tr("Please enter an integer."), QuenleyMessage::EIcon::Warning,
                             QuenleyMessage::EButtons::Ok, this);
        m_pChannel->setFocus();
        m_pChannel->selectAll();
        return;
    }
    if (nChannel < kFirstChannel || nChannel > kLastChannel) {
        QuenleyMessage::Show(
            tr("Please enter an integer between %1 and %2.").arg(kFirstChannel).arg(kLastChannel),
            QuenleyMessage::EIcon::Warning, QuenleyMessage::EButtons::Ok, this);
        m_pChannel->setFocus();
        m_pChannel->selectAll();
        return;
    }
    m_nMidiCh = nChannel;
    const QList<QListWidgetItem*> selected = m_pList->selectedItems();
    if (!selected.isEmpty())
        m_pMidiWnd->SetMidiDevice(static_cast<std::uint32_t>(m_pList->row(selected.front())));
    m_pMidiWnd->SetMidiChannel(static_cast<std::uint16_t>(m_nMidiCh - 1));
    QDialog::accept();
}
