#include "COverviewFilter.h"

#include "COverviewModel.h"
#include "SectionKinds.h"

#include <array>

namespace {

// What words of the kind's own match: its name, its label, and for kits the bank.
const std::array<QString, Kinds::kLastKind + 1>& KindWords() {
    static const std::array<QString, Kinds::kLastKind + 1> words = [] {
        std::array<QString, Kinds::kLastKind + 1> a;
        for (int k = Kinds::kFirstKind; k <= Kinds::kLastKind; ++k)
            a[k] = QStringLiteral("%1 %2").arg(QLatin1String(Kinds::KindName(k)),
                                               QLatin1String(Kinds::Info(k).pszLabel).trimmed());
        a[Kinds::kKit] += QStringLiteral(" bank");
        return a;
    }();
    return words;
}

} // namespace

COverviewFilter::COverviewFilter(QObject* pParent) : QSortFilterProxyModel(pParent) {
    setRecursiveFilteringEnabled(true);
}

void COverviewFilter::setSourceModel(QAbstractItemModel* pSource) {
    m_pModel = qobject_cast<COverviewModel*>(pSource);
    QSortFilterProxyModel::setSourceModel(pSource);
}

void COverviewFilter::SetSearch(const QString& strSearch) {
    if (strSearch == m_strSearch)
        return;
    m_strSearch = strSearch;
    m_words.clear();
    // Runs of letters and runs of digits; everything else separates words, so "hi-fi" still
    // finds "Hi-Fi".
    qsizetype i = 0;
    const qsizetype nLength = strSearch.size();
    while (i < nLength) {
        const QChar c = strSearch.at(i);
        if (!c.isLetterOrNumber()) {
            ++i;
            continue;
        }
        const bool bDigits = c.isDigit();
        qsizetype e = i;
        while (e < nLength && strSearch.at(e).isLetterOrNumber() &&
               strSearch.at(e).isDigit() == bDigits)
            ++e;
        const QStringView word = QStringView(strSearch).mid(i, e - i);
        if (bDigits) {
            // More digits than any number has match nothing, rather than overflow.
            bool bOk = false;
            const int nNumber = word.size() <= 6 ? word.toInt(&bOk) : -1;
            m_words.push_back({QString(), bOk ? nNumber : -1});
        } else {
            m_words.push_back({word.toString(), 0});
        }
        i = e;
    }
    invalidateFilter();
}

bool COverviewFilter::filterAcceptsRow(int nSourceRow, const QModelIndex& sourceParent) const {
    if (m_words.empty())
        return true;
    // A kind row is kept for its variations (recursive filtering), never for itself.
    if (!m_pModel || !sourceParent.isValid())
        return false;
    const QModelIndex index = m_pModel->index(nSourceRow, 0, sourceParent);
    SSectionKey key;
    const COverviewModel::SRow* pRow = m_pModel->RowOf(index);
    if (!pRow || !m_pModel->Key(index, key))
        return false;
    const QString& strKind = KindWords()[key.nKind];
    const QLatin1String name(pRow->szName);
    for (const SWord& word : m_words) {
        if (word.strText.isEmpty()) {
            const bool bMatch =
                word.nNumber == key.nNumber ||
                (key.nKind == Kinds::kKit && (word.nNumber == key.nNumber % Kinds::kKitsPerBank ||
                                              word.nNumber == key.nNumber / Kinds::kKitsPerBank));
            if (!bMatch)
                return false;
        } else if (!strKind.contains(word.strText, Qt::CaseInsensitive) &&
                   !name.contains(word.strText, Qt::CaseInsensitive)) {
            return false;
        }
    }
    return true;
}

QVariant COverviewFilter::data(const QModelIndex& index, int nRole) const {
    const bool bCount =
        (nRole == Qt::AccessibleTextRole && index.column() == COverviewModel::kNumberColumn) ||
        (nRole == Qt::DisplayRole && index.column() == COverviewModel::kNameColumn);
    if (!bCount || m_words.empty() || !index.isValid() || index.parent().isValid())
        return QSortFilterProxyModel::data(index, nRole);
    const QModelIndex group = index.siblingAtColumn(0);
    const int nShown = rowCount(group);
    const int nAll = sourceModel()->rowCount(mapToSource(group));
    if (nShown == nAll)
        return QSortFilterProxyModel::data(index, nRole);
    const int nKind = group.data(COverviewModel::KindRole).toInt();
    const QString strCount =
        (nKind == Kinds::kKit ? tr("%1 of %2 kits") : tr("%1 of %2 variations"))
            .arg(nShown)
            .arg(nAll);
    if (nRole == Qt::DisplayRole)
        return strCount;
    return QStringLiteral("%1, %2").arg(group.data(Qt::DisplayRole).toString(), strCount);
}
