#include "CGalleryPanel.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

// Shows every panel control over the real pictures and logs what they report.
int main(int argc, char* argv[]) {
    constexpr int kLogLines = 8;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quenley control gallery"));
    auto* pLayout = new QVBoxLayout(&window);
    auto* pPanel = new CGalleryPanel(&window);
    auto* pLog = new QLabel(&window);
    pLog->setObjectName(QStringLiteral("log"));
    pLog->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pLog->setFont(QFont(QStringLiteral("monospace")));
    pLog->setMinimumHeight(kLogLines * pLog->fontMetrics().lineSpacing() + 4);
    pLayout->addWidget(pPanel);
    pLayout->addWidget(pLog);

    QStringList lines;
    QObject::connect(pPanel, &CGalleryPanel::Logged, pLog, [&lines, pLog](const QString& sLine) {
        lines.append(sLine);
        while (lines.size() > kLogLines)
            lines.removeFirst();
        pLog->setText(lines.join(QLatin1Char('\n')));
    });
    if (!pPanel->IsComplete())
        pLog->setText(QStringLiteral("Some pictures are missing."));
    window.show();
    return app.exec();
}
