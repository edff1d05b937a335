#pragma once

#include "SectionKey.h"
#include "SectionKinds.h"

#include <QAbstractItemModel>

#include <array>
#include <vector>

class CQuenleyDoc;

// Every variation and kit of a project as a tree: one row per kind present, in the store's order
// (LFOs first, kits last), with its variations below it. It copies what it shows, so it never
// holds a section; Refresh brings it up to date by changing only the rows that differ, which
// keeps a view's selection and current row through edits.
class COverviewModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum EColumn { kNumberColumn, kNameColumn, kActiveColumn, kUsedByColumn, kColumns };
    enum ERole {
        // The section's kind and number (ints); a kind row gives its kind and -1.
        KindRole = Qt::UserRole + 1,
        NumberRole,
    };
    // How many kits the used-by column names before it says how many more there are.
    static constexpr int kUsedByShown = 3;

    // One variation as the overview shows it.
    struct SRow {
        int nNumber = 0;
        bool bActive = false;
        char szName[17] = {}; // trailing blanks dropped
        // The kits using it in ascending order (instruments only), in the model's own buffer.
        const int* pUsedBy = nullptr;
        int nUsedBy = 0;
    };

    explicit COverviewModel(QObject* pParent = nullptr);

    // Follows the document (null: no project, no rows).
    void Refresh(const CQuenleyDoc* pDoc);

    // The variation of a row; false for a kind row or an invalid index.
    bool Key(const QModelIndex& index, SSectionKey& rKey) const;
    // The row of a variation, or null.
    const SRow* RowOf(const QModelIndex& index) const;
    // The index of a variation's row (column 0), invalid when the project has none.
    QModelIndex IndexOf(const SSectionKey& key) const;
    // "012"; kits "Kit003 Bank000".
    static QString NumberText(int nKind, int nNumber);
    // "used by Kit003 Bank000, Kit044 Bank001", shortened after kUsedByShown kits, or "unused".
    static QString UsedByText(const SRow& row);
    // Store order, each key once.
    static void SortKeys(std::vector<SSectionKey>& keys);

    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    QVariant headerData(int nSection, Qt::Orientation orientation,
                        int nRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // The variations of the rows in store order, as SectionKeys encodes them.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    using CRows = std::vector<SRow>;
    // The top-level row of a kind present in the tree.
    int GroupRow(int nKind) const;
    int KindOfGroupRow(int nRow) const;
    // Brings the live rows of a kind to the next ones, telling the views of each run of rows
    // inserted, removed or changed.
    void Follow(int nKind);
    QVariant GroupData(int nKind, int nColumn, int nRole) const;
    QVariant RowData(int nKind, const SRow& row, int nColumn, int nRole) const;

    // By kind; a kind is shown while it has rows. Indexes of variations carry their kind.
    std::array<CRows, Kinds::kLastKind + 1> m_rows;
    std::array<CRows, Kinds::kLastKind + 1> m_next; // kept for their capacity
    // The used-by lists of all rows, and the buffer the next refresh fills.
    std::vector<int> m_usedBy;
    std::vector<int> m_nextUsedBy;
    std::vector<int> m_kitUses; // each kit's variation of each kind while a refresh runs
};
