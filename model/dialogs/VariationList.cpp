#include "VariationList.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>

QListWidget* VariationList::MakeList(QWidget* pParent) {
    auto* pList = new QListWidget(pParent);
    pList->setObjectName(QStringLiteral("variations"));
    pList->setSelectionMode(QAbstractItemView::SingleSelection);
    // The lines are fixed-width display strings; they line up in a fixed-width font.
    pList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return pList;
}

QLabel* VariationList::MakeSelected(QListWidget* pList, QWidget* pParent) {
    auto* pSelected = new QLabel(pParent);
    pSelected->setObjectName(QStringLiteral("selected"));
    pSelected->setAlignment(Qt::AlignCenter);
    pSelected->setFrameShape(QFrame::StyledPanel);
    pSelected->setFont(pList->font());
    return pSelected;
}
