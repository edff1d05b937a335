#pragma once

#include <QSortFilterProxyModel>
#include <QString>

#include <vector>

class COverviewModel;

// The overview as far as a search keeps it. Every word of the search must match a variation: a
// word of digits its number (a kit's number, its number within its bank, or its bank), any
// other word part of its kind's name, label or its own name, without regard to case. A word
// that mixes letters and digits ("kick012") is taken as two. A kind stays while any of its
// variations does.
class COverviewFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit COverviewFilter(QObject* pParent = nullptr);

    void setSourceModel(QAbstractItemModel* pSource) override;
    void SetSearch(const QString& strSearch);
    const QString& Search() const { return m_strSearch; }

    // A kind row says how many of its variations the search keeps: "1 of 4 variations".
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;

protected:
    bool filterAcceptsRow(int nSourceRow, const QModelIndex& sourceParent) const override;

private:
    struct SWord {
        QString strText; // empty for a number
        int nNumber = 0;
    };

    COverviewModel* m_pModel = nullptr;
    QString m_strSearch;
    std::vector<SWord> m_words;
};
