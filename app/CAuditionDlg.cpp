#include "CAuditionDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The mnemonics are unique across the dialog.
const char* const kLabels[SAuditionSettings::kInstruments] = {
    "&Kick:", "&Snare:", "&Low tom:", "&High tom:", "H&i-hat:", "&Clap:", "&Rimshot:", "Cr&ash:",
    "Ri&de:"};

} // namespace

CAuditionDlg::CAuditionDlg(const SAuditionSettings& settings, QWidget* pParent)
    : QDialog(pParent) {
    setWindowTitle(tr("Audition"));
    auto* pForm = new QFormLayout;
    // Tab goes top to bottom, as the rows read.
    QList<QWidget*> tabOrder;
    const auto Chain = [&tabOrder](QWidget* pNext) { tabOrder << pNext; };
    for (int i = 0; i < SAuditionSettings::kInstruments; ++i) {
        auto* pBox = new QSpinBox;
        pBox->setRange(0, 127);
        auto* pName = new QLabel;
        // Read with its box: "36" then "C2".
        pName->setMinimumWidth(pName->fontMetrics().horizontalAdvance(QStringLiteral("C#-1 ")));
        connect(pBox, &QSpinBox::valueChanged, pName,
                [pName](int n) { pName->setText(SAuditionSettings::NoteName(n)); });
        pBox->setAccessibleDescription(tr("Note number; middle C is 60"));
        auto* pLabel = new QLabel(tr(kLabels[i]));
        pLabel->setBuddy(pBox);
        auto* pRow = new QHBoxLayout;
        pRow->addWidget(pBox);
        pRow->addWidget(pName);
        pRow->addStretch();
        pForm->addRow(pLabel, pRow);
        m_notes[size_t(i)] = pBox;
        m_noteNames[size_t(i)] = pName;
        Chain(pBox);
    }

    m_pVelocity = new QSpinBox;
    m_pVelocity->setRange(1, 127);
    auto* pVelocityLabel = new QLabel(tr("&Velocity:"));
    pVelocityLabel->setBuddy(m_pVelocity);
    pForm->addRow(pVelocityLabel, m_pVelocity);
    Chain(m_pVelocity);

    m_pLength = new QSpinBox;
    m_pLength->setRange(SAuditionSettings::kMinLengthMs, SAuditionSettings::kMaxLengthMs);
    m_pLength->setSingleStep(10);
    m_pLength->setSuffix(tr(" ms"));
    auto* pLengthLabel = new QLabel(tr("Len&gth:"));
    pLengthLabel->setBuddy(m_pLength);
    pForm->addRow(pLengthLabel, m_pLength);
    Chain(m_pLength);

    m_pChannel = new QComboBox;
    m_pChannel->addItem(tr("Link's channel"));
    for (int n = 1; n <= 16; ++n)
        m_pChannel->addItem(QString::number(n));
    auto* pChannelLabel = new QLabel(tr("Cha&nnel:"));
    pChannelLabel->setBuddy(m_pChannel);
    pForm->addRow(pChannelLabel, m_pChannel);
    Chain(m_pChannel);

    m_pAfterChange = new QCheckBox(tr("&Play after each change"));
    pForm->addRow(m_pAfterChange);
    Chain(m_pAfterChange);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                          QDialogButtonBox::RestoreDefaults);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(pButtons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] { Show(SAuditionSettings()); });

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pForm);
    pLayout->addWidget(pButtons);
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));
    Show(settings);
}

void CAuditionDlg::Show(const SAuditionSettings& settings) {
    for (int i = 0; i < SAuditionSettings::kInstruments; ++i) {
        m_notes[size_t(i)]->setValue(settings.notes[size_t(i)]);
        // valueChanged does not come when the box already holds the value.
        m_noteNames[size_t(i)]->setText(SAuditionSettings::NoteName(settings.notes[size_t(i)]));
    }
    m_pVelocity->setValue(settings.nVelocity);
    m_pLength->setValue(settings.nLengthMs);
    m_pChannel->setCurrentIndex(settings.nChannel);
    m_pAfterChange->setChecked(settings.bPlayAfterChange);
}

SAuditionSettings CAuditionDlg::Settings() const {
    SAuditionSettings s;
    for (int i = 0; i < SAuditionSettings::kInstruments; ++i)
        s.notes[size_t(i)] = m_notes[size_t(i)]->value();
    s.nVelocity = m_pVelocity->value();
    s.nLengthMs = m_pLength->value();
    s.nChannel = m_pChannel->currentIndex();
    s.bPlayAfterChange = m_pAfterChange->isChecked();
    return s;
}
