#include "CGalleryPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include <memory>

// Shows any front panel with its controls over the real pictures and logs what they report.
int main(int argc, char* argv[]) {
    constexpr int kLogLines = 8;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quenley control gallery"));
    auto* pLayout = new QVBoxLayout(&window);
    auto* pChooser = new QComboBox(&window);
    for (const Panels::SPanel& panel : Panels::AllPanels())
        pChooser->addItem(QString::fromLatin1(panel.pszName), int(panel.ePanel));
    auto* pLog = new QLabel(&window);
    pLog->setObjectName(QStringLiteral("log"));
    pLog->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pLog->setFont(QFont(QStringLiteral("monospace")));
    pLog->setMinimumHeight(kLogLines * pLog->fontMetrics().lineSpacing() + 4);
    pLayout->addWidget(pChooser);
    pLayout->addWidget(pLog);

    QStringList lines;
    std::unique_ptr<CGalleryPanel> pPanel;
    const auto Show = [&](int nIndex) {
        pPanel =
            std::make_unique<CGalleryPanel>(Panels::EPanel(pChooser->itemData(nIndex).toInt()));
        pLayout->insertWidget(1, pPanel.get(), 0, Qt::AlignLeft);
        lines.clear();
        pLog->setText(pPanel->IsComplete() ? QString()
                                           : QStringLiteral("Some pictures are missing."));
        QObject::connect(pPanel.get(), &CGalleryPanel::Logged, pLog,
                         [&lines, pLog](const QString& sLine) {
                             lines.append(sLine);
                             while (lines.size() > kLogLines)
                                 lines.removeFirst();
                             pLog->setText(lines.join(QLatin1Char('\n')));
                         });
    };
    QObject::connect(pChooser, &QComboBox::currentIndexChanged, &window, Show);
    Show(0);
    window.show();
    const int nResult = app.exec();
    pPanel.reset();
    return nResult;
}
