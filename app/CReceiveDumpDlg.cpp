#include "CReceiveDumpDlg.h"

#include "CDumpPlan.h"
#include "CMidiInput.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The window is redrawn at most this often, however fast the module sends.
constexpr int kTickMs = 100;
} // namespace

CReceiveDumpDlg::CReceiveDumpDlg(CMidiInput& input, CQuenleyDoc& doc, int nQuietMs,
                                 QWidget* pParent)
    : QDialog(pParent), m_input(input), m_doc(doc), m_nQuietMs(nQuietMs) {
    setWindowTitle(tr("Receive Dump"));
    m_pState = new QLabel(
        tr("Waiting for the module on \"%1\".\nStart its dump now.").arg(input.DeviceName()), this);
    m_pState->setObjectName(QStringLiteral("state"));
    m_pState->setWordWrap(true);
    m_pCounts = new QLabel(this);
    m_pCounts->setObjectName(QStringLiteral("counts"));
    m_pCounts->setTextFormat(Qt::PlainText);
    m_pCounts->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_pDone = pButtons->addButton(tr("Done"), QDialogButtonBox::AcceptRole);
    m_pDone->setObjectName(QStringLiteral("done"));
    m_pDone->setToolTip(tr("End now and take what came"));
    connect(m_pDone, &QPushButton::clicked, this, [this] { Finish(EEnd::Done); });
    connect(pButtons, &QDialogButtonBox::rejected, this, &CReceiveDumpDlg::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pState);
    pLayout->addWidget(m_pCounts);
    pLayout->addWidget(pButtons);

    connect(&input, &CMidiInput::SysExReceived, this, &CReceiveDumpDlg::OnMessage);
    connect(&input, &CMidiInput::Activity, this, &CReceiveDumpDlg::OnActivity);
    connect(&input, &CMidiInput::DeviceGone, this, [this] { Finish(EEnd::DeviceGone); });
    m_pTick = new QTimer(this);
    m_pTick->setInterval(kTickMs);
    connect(m_pTick, &QTimer::timeout, this, &CReceiveDumpDlg::Tick);
    m_pTick->start();
    ShowCounts();
}

void CReceiveDumpDlg::OnMessage(const QByteArray& message) {
    if (m_eEnd != EEnd::Running)
        return;
    m_messages << message;
    m_reader.Read(message);
    OnActivity();
}

void CReceiveDumpDlg::OnActivity() {
    m_sinceLast.start();
    m_bChanged = true;
}

void CReceiveDumpDlg::Tick() {
    if (m_eEnd != EEnd::Running)
        return;
    // Counted from the first message on: before it the user may still be starting the dump at
    // the module. Both clocks must agree, so that bytes not yet handed over are waited for.
    const qint64 nSinceByte = m_input.MsSinceLastByte();
    if (!m_messages.isEmpty() && m_sinceLast.isValid() && m_sinceLast.elapsed() >= m_nQuietMs &&
        nSinceByte >= m_nQuietMs) {
        Finish(EEnd::Quiet);
        return;
    }
    ShowCounts();
}

void CReceiveDumpDlg::ShowCounts() {
    // The variations are counted again only when messages came.
    if (m_bChanged && m_reader.Messages() > 0) {
        CDumpPlan plan;
        plan.Make(m_reader, m_doc);
        m_nVariations = int(plan.Variations().size());
    }
    m_bChanged = false;
    const qint64 nSinceByte = m_input.MsSinceLastByte();
    if (!m_messages.isEmpty())
        m_pState->setText(tr("Receiving from \"%1\". It ends by itself once the module has "
                             "been quiet for %2 s.")
                              .arg(m_input.DeviceName())
                              .arg(m_nQuietMs / 1000.0));
    const QString strSince =
        nSinceByte < 0 ? tr("nothing yet") : tr("%1 s").arg(double(nSinceByte) / 1000.0, 0, 'f', 1);
    m_pCounts->setText(tr("Messages: %1\nBytes: %2\nVariations: %3\nSince the last byte: %4")
                           .arg(m_messages.size())
                           .arg(m_input.BytesReceived())
                           .arg(m_nVariations)
                           .arg(strSince));
}

void CReceiveDumpDlg::Finish(EEnd eEnd) {
    if (m_eEnd != EEnd::Running)
        return;
    m_eEnd = eEnd;
    m_pTick->stop();
    if (eEnd == EEnd::Quiet || eEnd == EEnd::Done)
        QDialog::accept();
    else
        QDialog::reject();
}

void CReceiveDumpDlg::reject() {
    Finish(EEnd::Cancelled);
}
