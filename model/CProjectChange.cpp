#include "CProjectChange.h"

#include "CSection.h"

#include <algorithm>
#include <cstring>

CProjectChange::SState CProjectChange::StateOf(const CSection& section) {
    SState state;
    state.bActive = section.IsActive();
    if (const char* pszName = section.GetName())
        std::memcpy(state.name.data(), pszName,
                    std::min<size_t>(size_t(section.GetNameLength()), state.name.size() - 1));
    const int nParams = std::min(section.GetParamCount(), Kinds::kMaxParams);
    for (int i = 0; i < nParams; ++i)
        state.values[size_t(i)] = section.GetParam(i);
    return state;
}

void CProjectChange::CSnapshot::Take(const std::list<std::unique_ptr<CSection>>& sections) {
    m_items.clear();
    m_items.reserve(sections.size());
    for (const auto& p : sections)
        m_items.push_back(
            {p->GetKind(), p->GetNumber(), p->BlocksSent(), p->MessagesSent(), StateOf(*p)});
}

namespace {

// The section holds the state, compared in place: most of a project never changes in an edit.
bool Holds(const CSection& section, const CProjectChange::SState& state) {
    if (section.IsActive() != state.bActive)
        return false;
    const char* pszName = section.GetName();
    const size_t nNameLen =
        std::min<size_t>(size_t(section.GetNameLength()), state.name.size() - 1);
    if (pszName && std::memcmp(pszName, state.name.data(), nNameLen) != 0)
        return false;
    const int nParams = std::min(section.GetParamCount(), Kinds::kMaxParams);
    for (int i = 0; i < nParams; ++i)
        if (section.GetParam(i) != state.values[size_t(i)])
            return false;
    return true;
}

} // namespace

CProjectChange CProjectChange::Since(const CSnapshot& before,
                                     const std::list<std::unique_ptr<CSection>>& now) {
    // Both are in store order, so one walk pairs every section with itself.
    CProjectChange change;
    const auto& a = before.m_items;
    size_t i = 0;
    auto it = now.begin();
    while (i < a.size() || it != now.end()) {
        const CSection* pNow = it != now.end() ? it->get() : nullptr;
        const bool bTakeA =
            !pNow || (i < a.size() && !Kinds::StoreOrderLess(pNow->GetKind(), pNow->GetNumber(),
                                                             a[i].nKind, a[i].nNumber));
        const bool bTakeB =
            pNow && (i == a.size() || !Kinds::StoreOrderLess(a[i].nKind, a[i].nNumber,
                                                             pNow->GetKind(), pNow->GetNumber()));
        if (bTakeA && bTakeB && Holds(*pNow, a[i].state)) {
            ++i;
            ++it;
            continue;
        }
        SEntry entry;
        std::uint32_t nBlocksBefore = 0;
        std::uint32_t nMessagesBefore = 0;
        if (bTakeA) {
            entry.nKind = a[i].nKind;
            entry.nNumber = a[i].nNumber;
            entry.before = a[i].state;
            nBlocksBefore = a[i].nBlocksSent;
            nMessagesBefore = a[i].nMessagesSent;
            ++i;
        }
        if (bTakeB) {
            entry.nKind = pNow->GetKind();
            entry.nNumber = pNow->GetNumber();
            entry.after = StateOf(*pNow);
            // A section made by the edit counts from none.
            entry.bBlockSent = pNow->BlocksSent() != (bTakeA ? nBlocksBefore : 0);
            entry.bSent = pNow->MessagesSent() != (bTakeA ? nMessagesBefore : 0);
            ++it;
        }
        change.m_entries.push_back(std::move(entry));
    }
    return change;
}

void CProjectChange::Append(const CProjectChange& later) {
    std::vector<SEntry> merged;
    merged.reserve(m_entries.size() + later.m_entries.size());
    auto it = m_entries.begin();
    auto jt = later.m_entries.begin();
    while (it != m_entries.end() || jt != later.m_entries.end()) {
        if (jt == later.m_entries.end() ||
            (it != m_entries.end() &&
             Kinds::StoreOrderLess(it->nKind, it->nNumber, jt->nKind, jt->nNumber))) {
            merged.push_back(*it++);
        } else if (it == m_entries.end() ||
                   Kinds::StoreOrderLess(jt->nKind, jt->nNumber, it->nKind, it->nNumber)) {
            merged.push_back(*jt++);
        } else {
            SEntry entry = *it++;
            entry.after = jt->after;
            entry.bBlockSent = entry.bBlockSent || jt->bBlockSent;
            entry.bSent = entry.bSent || jt->bSent;
            ++jt;
            if (entry.before != entry.after)
                merged.push_back(std::move(entry));
        }
    }
    m_entries = std::move(merged);
}

QString CProjectChange::SubjectTitle(int nPreferKind) const {
    if (m_entries.empty())
        return {};
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [nPreferKind](const SEntry& e) { return e.nKind == nPreferKind; });
    const SEntry& e = it != m_entries.end() ? *it : m_entries.front();
    return Title(e.nKind, e.nNumber);
}

QString CProjectChange::Title(int nKind, int nNumber) {
    const QString strLabel = QString::fromLatin1(Kinds::Info(nKind).pszLabel).trimmed();
    if (nKind == Kinds::kKit)
        return QStringLiteral("%1 %2 Bank %3")
            .arg(strLabel)
            .arg(nNumber % Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'))
            .arg(nNumber / Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'));
    return QStringLiteral("%1 %2").arg(strLabel).arg(nNumber, 3, 10, QLatin1Char('0'));
}
