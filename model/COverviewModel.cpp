#include "COverviewModel.h"

#include "CQuenleyDoc.h"
#include "CopyOperations.h"

#include <QMimeData>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

QString Tr(const char* psz) {
    return COverviewModel::tr(psz);
}

bool Same(const COverviewModel::SRow& a, const COverviewModel::SRow& b) {
    return a.nNumber == b.nNumber && a.bActive == b.bActive &&
           std::strcmp(a.szName, b.szName) == 0 && a.nUsedBy == b.nUsedBy &&
           std::equal(a.pUsedBy, a.pUsedBy + a.nUsedBy, b.pUsedBy);
}

constexpr bool IsInstrument(int nKind) {
    return nKind > Kinds::kKit && Kinds::IsKind(nKind);
}

// The kit slots: one per instrument kind.
constexpr int kSlots = Kinds::kLastKind - Kinds::kKit;

} // namespace

COverviewModel::COverviewModel(QObject* pParent) : QAbstractItemModel(pParent) {}

void COverviewModel::Refresh(const CQuenleyDoc* pDoc) {
    for (CRows& rows : m_next)
        rows.clear();
    // Which variation each kit uses, gathered while the rows are taken, so that the used-by
    // lists come from one pass over the kits.
    std::vector<int>& uses = m_kitUses;
    uses.clear();
    std::array<std::array<int, Kinds::kInstrumentVariations + 1>, Kinds::kLastKind + 1> starts{};
    if (pDoc) {
        for (const auto& pSection : pDoc->GetSectionList()) {
            const int nKind = pSection->GetKind();
            if (!Kinds::IsKind(nKind))
                continue;
            SRow row;
            row.nNumber = pSection->GetNumber();
            row.bActive = pSection->IsActive();
            if (const char* pszName = pSection->GetName()) {
                int nLen = std::min<int>(pSection->GetNameLength(), sizeof row.szName - 1);
                nLen = int(std::find(pszName, pszName + nLen, '\0') - pszName);
                while (nLen > 0 && pszName[nLen - 1] == ' ')
                    --nLen;
                std::memcpy(row.szName, pszName, std::size_t(nLen));
                row.szName[nLen] = '\0';
            }
            m_next[nKind].push_back(row);
            if (nKind != Kinds::kKit)
                continue;
            for (int nSlot = Kinds::kKick; nSlot <= Kinds::kLastKind; ++nSlot) {
                const int nUsed = pSection->GetParam(Kinds::KitParamOfKind(nSlot));
                const bool bValid = nUsed >= 0 && nUsed < Kinds::kInstrumentVariations;
                uses.push_back(bValid ? nUsed : -1);
                if (bValid)
                    ++starts[nSlot][nUsed + 1];
            }
        }
    }
    // Each list's start in the buffer, then the kits in ascending order, as the store has them.
    int nTotal = 0;
    for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind)
        for (int n = 0; n <= Kinds::kInstrumentVariations; ++n)
            starts[nKind][n] = nTotal += starts[nKind][n];
    m_nextUsedBy.resize(std::size_t(nTotal));
    std::array<std::array<int, Kinds::kInstrumentVariations>, Kinds::kLastKind + 1> fill{};
    const CRows& kits = m_next[Kinds::kKit];
    for (std::size_t nKit = 0; nKit < kits.size(); ++nKit)
        for (int nSlot = 0; nSlot < kSlots; ++nSlot) {
            const int nUsed = uses[nKit * kSlots + std::size_t(nSlot)];
            const int nKind = Kinds::kKick + nSlot;
            if (nUsed >= 0)
                m_nextUsedBy[std::size_t(starts[nKind][nUsed] + fill[nKind][nUsed]++)] =
                    kits[nKit].nNumber;
        }
    for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind)
        for (SRow& row : m_next[nKind])
            if (row.nNumber >= 0 && row.nNumber < Kinds::kInstrumentVariations) {
                row.pUsedBy = m_nextUsedBy.data() + starts[nKind][row.nNumber];
                row.nUsedBy = starts[nKind][row.nNumber + 1] - starts[nKind][row.nNumber];
            }

    // Store order: the kinds above this one are brought up to date first, so its group row is
    // where the views expect it.
    for (int nKind = Kinds::kLastKind; nKind >= Kinds::kFirstKind; --nKind)
        Follow(nKind);
    // Every row now points into the new buffer; the old one is filled next time.
    m_usedBy.swap(m_nextUsedBy);
}

void COverviewModel::Follow(int nKind) {
    CRows& live = m_rows[nKind];
    CRows& next = m_next[nKind];
    if (live.empty() && next.empty())
        return;
    const int nGroup = GroupRow(nKind);
    if (live.empty()) {
        beginInsertRows({}, nGroup, nGroup);
        live.swap(next);
        endInsertRows();
        return;
    }
    if (next.empty()) {
        beginRemoveRows({}, nGroup, nGroup);
        live.clear();
        endRemoveRows();
        return;
    }
    const QModelIndex parent = createIndex(nGroup, 0, quintptr(0));
    const std::size_t nOldCount = live.size();
    int nChanged = -1; // the first row of a run of changed rows
    const auto Flush = [&](std::size_t nEnd) {
        if (nChanged >= 0)
            emit dataChanged(createIndex(nChanged, 0, quintptr(nKind)),
                             createIndex(int(nEnd) - 1, kColumns - 1, quintptr(nKind)));
        nChanged = -1;
    };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < live.size() || j < next.size()) {
        if (j == next.size() || (i < live.size() && live[i].nNumber < next[j].nNumber)) {
            Flush(i);
            const int nLimit = j < next.size() ? next[j].nNumber : INT_MAX;
            std::size_t e = i;
            while (e < live.size() && live[e].nNumber < nLimit)
                ++e;
            beginRemoveRows(parent, int(i), int(e) - 1);
            live.erase(live.begin() + std::ptrdiff_t(i), live.begin() + std::ptrdiff_t(e));
            endRemoveRows();
        } else if (i == live.size() || live[i].nNumber > next[j].nNumber) {
            Flush(i);
            const int nLimit = i < live.size() ? live[i].nNumber : INT_MAX;
            std::size_t e = j;
            while (e < next.size() && next[e].nNumber < nLimit)
                ++e;
            beginInsertRows(parent, int(i), int(i + (e - j)) - 1);
            live.insert(live.begin() + std::ptrdiff_t(i), next.begin() + std::ptrdiff_t(j),
                        next.begin() + std::ptrdiff_t(e));
            endInsertRows();
            i += e - j;
            j = e;
        } else {
            if (Same(live[i], next[j]))
                Flush(i);
            else if (nChanged < 0)
                nChanged = int(i);
            live[i++] = next[j++];
        }
    }
    Flush(i);
    if (live.size() != nOldCount)
        emit dataChanged(parent, createIndex(nGroup, kColumns - 1, quintptr(0)));
}

int COverviewModel::GroupRow(int nKind) const {
    int nRow = 0;
    for (int k = Kinds::kLastKind; k > nKind; --k)
        nRow += m_rows[k].empty() ? 0 : 1;
    return nRow;
}

int COverviewModel::KindOfGroupRow(int nRow) const {
    for (int k = Kinds::kLastKind; k >= Kinds::kFirstKind; --k)
        if (!m_rows[k].empty() && nRow-- == 0)
            return k;
    return Kinds::kNone;
}

bool COverviewModel::Key(const QModelIndex& index, SSectionKey& rKey) const {
    const SRow* pRow = RowOf(index);
    if (pRow)
        rKey = {int(index.internalId()), pRow->nNumber};
    return pRow != nullptr;
}

const COverviewModel::SRow* COverviewModel::RowOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || !Kinds::IsKind(int(index.internalId())))
        return nullptr;
    const CRows& rows = m_rows[index.internalId()];
    return index.row() < int(rows.size()) ? &rows[std::size_t(index.row())] : nullptr;
}

QModelIndex COverviewModel::IndexOf(const SSectionKey& key) const {
    if (!Kinds::IsKind(key.nKind))
        return {};
    const CRows& rows = m_rows[key.nKind];
    const auto it = std::lower_bound(rows.begin(), rows.end(), key.nNumber,
                                     [](const SRow& r, int n) { return r.nNumber < n; });
    if (it == rows.end() || it->nNumber != key.nNumber)
        return {};
    return createIndex(int(it - rows.begin()), 0, quintptr(key.nKind));
}

QString COverviewModel::NumberText(int nKind, int nNumber) {
    if (nKind == Kinds::kKit)
        return CopyOperations::QuestionName(nKind, nNumber);
    return QStringLiteral("%1").arg(nNumber, 3, 10, QLatin1Char('0'));
}

QString COverviewModel::UsedByText(const SRow& row) {
    if (row.nUsedBy == 0)
        return Tr("unused");
    QStringList kits;
    // "and 1 more" would take the room of the name it hides.
    const int nShown = row.nUsedBy <= kUsedByShown + 1 ? row.nUsedBy : kUsedByShown;
    for (int i = 0; i < nShown; ++i)
        kits << NumberText(Kinds::kKit, row.pUsedBy[i]);
    QString strText = Tr("used by %1").arg(kits.join(QStringLiteral(", ")));
    if (nShown < row.nUsedBy)
        strText += Tr(" and %1 more").arg(row.nUsedBy - nShown);
    return strText;
}

QModelIndex COverviewModel::index(int nRow, int nColumn, const QModelIndex& parent) const {
    if (nRow < 0 || nColumn < 0 || nColumn >= kColumns)
        return {};
    if (!parent.isValid())
        return KindOfGroupRow(nRow) != Kinds::kNone ? createIndex(nRow, nColumn, quintptr(0))
                                                    : QModelIndex();
    if (parent.internalId() != 0 || parent.column() != 0)
        return {};
    const int nKind = KindOfGroupRow(parent.row());
    if (nKind == Kinds::kNone || nRow >= int(m_rows[nKind].size()))
        return {};
    return createIndex(nRow, nColumn, quintptr(nKind));
}

QModelIndex COverviewModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(GroupRow(int(child.internalId())), 0, quintptr(0));
}

int COverviewModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return GroupRow(Kinds::kNone);
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    return int(m_rows[KindOfGroupRow(parent.row())].size());
}

int COverviewModel::columnCount(const QModelIndex&) const {
    return kColumns;
}

QVariant COverviewModel::data(const QModelIndex& index, int nRole) const {
    if (!index.isValid() || index.model() != this)
        return {};
    if (index.internalId() == 0)
        return GroupData(KindOfGroupRow(index.row()), index.column(), nRole);
    const SRow* pRow = RowOf(index);
    return pRow ? RowData(int(index.internalId()), *pRow, index.column(), nRole) : QVariant();
}

QVariant COverviewModel::GroupData(int nKind, int nColumn, int nRole) const {
    const int nCount = int(m_rows[nKind].size());
    QString strCount;
    if (nKind == Kinds::kKit)
        strCount = nCount == 1 ? Tr("1 kit") : Tr("%1 kits").arg(nCount);
    else
        strCount = nCount == 1 ? Tr("1 variation") : Tr("%1 variations").arg(nCount);
    switch (nRole) {
    case Qt::DisplayRole:
        if (nColumn == kNumberColumn)
            return Tr(Kinds::KindName(nKind));
        return nColumn == kNameColumn ? strCount : QVariant();
    case Qt::AccessibleTextRole:
        // The first cell reads the whole row; the others read as they show.
        if (nColumn != kNumberColumn)
            return {};
        return QStringLiteral("%1, %2").arg(Tr(Kinds::KindName(nKind)), strCount);
    case KindRole:
        return nKind;
    case NumberRole:
        return -1;
    default:
        return {};
    }
}

QVariant COverviewModel::RowData(int nKind, const SRow& row, int nColumn, int nRole) const {
    const bool bInstrument = IsInstrument(nKind);
    switch (nRole) {
    case Qt::DisplayRole:
        switch (nColumn) {
        case kNumberColumn:
            return NumberText(nKind, row.nNumber);
        case kNameColumn:
            return QString::fromLatin1(row.szName);
        case kActiveColumn:
            return row.bActive ? Tr("active") : QString();
        default:
            return bInstrument ? UsedByText(row) : QString();
        }
    case Qt::ToolTipRole: {
        // Every kit, also where the column is too narrow for the short list, a few to a line so
        // that the tip stays on the screen.
        if (nColumn != kUsedByColumn || row.nUsedBy == 0)
            return {};
        constexpr int kPerLine = 8;
        QString strTip = Tr("Used by:");
        for (int i = 0; i < row.nUsedBy; ++i)
            strTip += (i % kPerLine ? QStringLiteral(", ") : QStringLiteral("\n")) +
                      NumberText(Kinds::kKit, row.pUsedBy[i]);
        return strTip;
    }
    case Qt::AccessibleTextRole: {
        if (nColumn != kNumberColumn)
            return {};
        QString strText = bInstrument
                              ? QStringLiteral("%1 %2 %3")
                                    .arg(Tr(Kinds::KindName(nKind)), NumberText(nKind, row.nNumber),
                                         QString::fromLatin1(row.szName))
                              : QStringLiteral("%1 %2").arg(NumberText(nKind, row.nNumber),
                                                            QString::fromLatin1(row.szName));
        if (row.bActive)
            strText += QStringLiteral(", ") + Tr("active");
        if (bInstrument)
            strText += QStringLiteral(", ") + UsedByText(row);
        return strText;
    }
    case KindRole:
        return nKind;
    case NumberRole:
        return row.nNumber;
    default:
        return {};
    }
}

QVariant COverviewModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const {
    if (orientation != Qt::Horizontal || nRole != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[kColumns] = {QT_TR_NOOP("Number"), QT_TR_NOOP("Name"),
                                                   QT_TR_NOOP("Active"), QT_TR_NOOP("Used by")};
    return nSection >= 0 && nSection < kColumns ? Tr(kHeaders[nSection]) : QVariant();
}

Qt::ItemFlags COverviewModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.internalId() == 0 ? flags : flags | Qt::ItemIsDragEnabled;
}

QStringList COverviewModel::mimeTypes() const {
    return {QString::fromLatin1(SectionKeys::kMimeType)};
}

QMimeData* COverviewModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<SSectionKey> keys;
    for (const QModelIndex& index : indexes) {
        SSectionKey key;
        if (index.column() == 0 && Key(index, key))
            keys.push_back(key);
    }
    if (keys.empty())
        return nullptr;
    SortKeys(keys);
    auto* pData = new QMimeData;
    pData->setData(QString::fromLatin1(SectionKeys::kMimeType), SectionKeys::Encode(keys));
    return pData;
}

Qt::DropActions COverviewModel::supportedDragActions() const {
    return Qt::CopyAction;
}

void COverviewModel::SortKeys(std::vector<SSectionKey>& keys) {
    std::sort(keys.begin(), keys.end(), [](const SSectionKey& a, const SSectionKey& b) {
        return Kinds::StoreOrderLess(a.nKind, a.nNumber, b.nKind, b.nNumber);
    });
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}
