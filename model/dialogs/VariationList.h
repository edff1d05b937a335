#pragma once

class QLabel;
class QListWidget;
class QWidget;

// The list of a project's variations and the read-out of the chosen one, as the dialogs that let
// the user pick a variation show them.
namespace VariationList {

QListWidget* MakeList(QWidget* pParent);
// Shows the list's current line, in the list's font.
QLabel* MakeSelected(QListWidget* pList, QWidget* pParent);

} // namespace VariationList
