#include "CQuenleyDoc.h"

#include "CArchive.h"
#include "CDocumentHost.h"
#include "CDocumentView.h"
#include "KitOperations.h"
#include "ProjectFile.h"
#include "RuntimeClasses.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <set>
#include <utility>

CQuenleyDoc::CQuenleyDoc(CTransmitQueue* pQueue)
    : m_searchPos(m_sections.end()), m_pQueue(pQueue) {}

CQuenleyDoc::~CQuenleyDoc() {
    DeleteContents();
    m_pHistory.reset();
}

void CQuenleyDoc::AddView(CDocumentView* pView) {
    if (pView && std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
}

void CQuenleyDoc::RemoveView(CDocumentView* pView) {
    std::erase(m_views, pView);
}

bool CQuenleyDoc::HasView(const CDocumentView* pView) const {
    return std::find(m_views.begin(), m_views.end(), pView) != m_views.end();
}

void CQuenleyDoc::UpdateAllViews(CDocumentView* pSender, int nHint, CSection* pHint) {
    // A view may close others while it updates; walk a copy and skip the ones that went.
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* pView : views) {
        if (pView == pSender || !HasView(pView))
            continue;
        if (CSection* pKit = pHint ? pView->FollowedKit() : nullptr)
            KitOperations::FollowSection(*this, *pKit, *pHint, pView);
        if (HasView(pView))
            pView->OnUpdate(pSender, nHint, pHint);
    }
}

void CQuenleyDoc::SectionListChanged(int nKind) {
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* pView : views) {
        if (!HasView(pView))
            continue;
        // A kit that left the project is not looked at before its window has let go of it.
        if (nKind != Kinds::kKit)
            if (CSection* pKit = pView->FollowedKit())
                KitOperations::FollowKind(*this, *pKit, nKind);
        if (HasView(pView))
            pView->OnSectionListChanged(nKind);
    }
}

void CQuenleyDoc::SetModifiedFlag(bool bModified) {
    if (!bModified)
        m_bUnrecorded = false;
    else if (m_nEditDepth == 0 && !m_bApplying)
        m_bUnrecorded = true;
    SetModified(bModified);
}

void CQuenleyDoc::FollowHistory() {
    SetModified(m_bUnrecorded || (m_pHistory && !m_pHistory->IsClean()));
}

void CQuenleyDoc::SetModified(bool bModified) {
    const bool bChanged = bModified != m_bModified;
    m_bModified = bModified;
    if (m_pHost && bChanged)
        m_pHost->OnModifiedChanged(*this);
    if (m_pHost)
        m_pHost->OnContentChanged(*this);
}

void CQuenleyDoc::SetTransmitQueue(CTransmitQueue* pQueue) {
    m_pQueue = pQueue;
    for (const auto& p : m_sections)
        p->SetTransmitQueue(pQueue);
}

void CQuenleyDoc::SetHistory(std::unique_ptr<CEditHistory> pHistory) {
    m_pHistory = std::move(pHistory);
}

void CQuenleyDoc::BeginEdit() {
    if (m_nEditDepth++ == 0 && m_pHistory)
        m_editStart.Take(m_sections);
}

void CQuenleyDoc::EndEdit(const QString& strName, int nPreferKind, quint64 nMergeKey) {
    if (m_nEditDepth == 0 || --m_nEditDepth > 0 || !m_pHistory)
        return;
    CProjectChange change = CProjectChange::Since(m_editStart, m_sections);
    m_editStart = {};
    if (!change.IsEmpty()) {
        const QString strStep = strName.contains(QLatin1String("%1"))
                                    ? strName.arg(change.SubjectTitle(nPreferKind))
                                    : strName;
        m_pHistory->Record(strStep, std::move(change), nMergeKey);
    }
    FollowHistory();
}

void CQuenleyDoc::ApplyChange(const CProjectChange& change, bool bForward) {
    // What the views do about the step is part of it, not a change of its own.
    m_bApplying = true;
    std::set<int> listChanged;
    std::vector<CSection*> restored;
    for (const CProjectChange::SEntry& e : change.Entries()) {
        const std::optional<CProjectChange::SState>& target = bForward ? e.after : e.before;
        CSection* pSection = Search(e.nKind, e.nNumber, false);
        if (!target) {
            if (pSection && RemoveVariation(pSection))
                listChanged.insert(e.nKind);
            continue;
        }
        const bool bMade = !pSection;
        if (bMade) {
            // Made like any new variation, then given the number, which a damaged project may
            // hold outside the kind's range.
            std::unique_ptr<CSection> pTemplate(NewSectionOfKind(e.nKind));
            std::unique_ptr<CSection> pNew(pTemplate ? pTemplate->CreateVariation(0) : nullptr);
            if (!pNew)
                continue;
            pSection = pNew.get();
            pSection->SetTransmitQueue(m_pQueue);
            pSection->SetStoredFields(target->bActive, e.nNumber, target->name.data(),
                                      target->values.data());
            Search(e.nKind, e.nNumber, false);
            m_sections.insert(m_searchPos, std::move(pNew));
            m_searchPos = m_sections.end();
            listChanged.insert(e.nKind);
        }
        RestoreSection(*pSection, e, *target, bMade);
        restored.push_back(pSection);
    }
    for (int nKind : listChanged)
        SectionListChanged(nKind);
    // Every state is in place before any view looks, so none sees half of the step.
    for (CSection* pSection : restored)
        if (std::any_of(m_sections.begin(), m_sections.end(),
                        [pSection](const auto& p) { return p.get() == pSection; }))
            UpdateAllViews(nullptr, 0, pSection);
    m_bApplying = false;
    FollowHistory();
}

void CQuenleyDoc::RestoreSection(CSection& section, const CProjectChange::SEntry& entry,
                                 const CProjectChange::SState& state, bool bMade) {
    const bool bBlockSent = entry.bBlockSent;
    const CProjectChange::SState was = CProjectChange::StateOf(section);
    section.SetStoredFields(state.bActive, section.GetNumber(), state.name.data(),
                            state.values.data());
    // The module gets what the edit gave it: the whole block where the edit sent one, else
    // each value that changes, and a kit's name as the one block it always travels in. What
    // the edit did not send (a rename, a mark, a received dump, a destroyed section) is not
    // sent either.
    const Kinds::SKindInfo& info = section.Info();
    if (!entry.bSent || (bMade && !bBlockSent))
        return;
    int nFrom = 0;
    if (bBlockSent && section.SendAll()) {
        nFrom = info.nBlockValues;
    } else if (info.nNameParams > 0 &&
               !std::equal(was.values.begin(), was.values.begin() + info.nNameParams,
                           state.values.begin())) {
        section.SendBlock(state.values.data(), info.nNameParams);
        nFrom = info.nNameParams;
    }
    for (int i = nFrom; i < section.GetParamCount(); ++i) {
        const std::int32_t nValue = state.values[size_t(i)];
        if (!bMade && was.values[size_t(i)] != nValue && nValue >= Kinds::kMinValue &&
            nValue <= Kinds::kMaxValue)
            section.SendParam(i, std::uint8_t(nValue >> 7), std::uint8_t(nValue & 0x7F));
    }
}

// From the head: a smaller kind ends the search (its place is here); within the kind a larger
// number ends a numbered search, an equal one or a mark finds. Running off the end leaves the
// position at end(), where a new section is appended.
CSection* CQuenleyDoc::Search(int nKind, int nNumber, bool bActive) {
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it) {
        CSection* p = it->get();
        if (p->GetKind() < nKind) {
            m_searchPos = it;
            return nullptr;
        }
        if (p->GetKind() != nKind)
            continue;
        if (bActive) {
            if (p->IsActive()) {
                m_searchPos = it;
                return p;
            }
        } else if (p->GetNumber() > nNumber) {
            m_searchPos = it;
            return nullptr;
        } else if (p->GetNumber() == nNumber) {
            m_searchPos = it;
            return p;
        }
    }
    m_searchPos = m_sections.end();
    return nullptr;
}

CSection* CQuenleyDoc::FindVariation(const CSection* pTemplate, int nNumber) {
    return pTemplate ? Search(pTemplate->GetKind(), nNumber, false) : nullptr;
}

CSection* CQuenleyDoc::FindOrCreateVariation(const CSection* pTemplate, int nNumber) {
    if (!pTemplate)
        return nullptr;
    if (CSection* pFound = FindVariation(pTemplate, nNumber))
        return pFound;
    std::unique_ptr<CSection> pNew(pTemplate->CreateVariation(nNumber));
    if (!pNew)
        return nullptr;
    CSection* p = pNew.get();
    p->SetTransmitQueue(m_pQueue);
    m_sections.insert(m_searchPos, std::move(pNew));
    SetModifiedFlag(true);
    return p;
}

CSection* CQuenleyDoc::FindVariationOfKind(int nKind, int nNumber) {
    return nKind == 0 ? nullptr : Search(nKind, nNumber, false);
}

CSection* CQuenleyDoc::FindActiveVariation(const CSection* pTemplate) {
    return pTemplate ? FindActiveVariationOfKind(pTemplate->GetKind()) : nullptr;
}

CSection* CQuenleyDoc::FindActiveVariationOfKind(int nKind) {
    return nKind == 0 ? nullptr : Search(nKind, 0, true);
}

bool CQuenleyDoc::RemoveVariation(CSection* pSection) {
    const auto it = std::find_if(m_sections.begin(), m_sections.end(),
                                 [pSection](const auto& p) { return p.get() == pSection; });
    if (!pSection || it == m_sections.end())
        return false;
    if (m_searchPos == it)
        m_searchPos = m_sections.end();
    m_sections.erase(it);
    SetModifiedFlag(true);
    return true;
}

bool CQuenleyDoc::MakeActive(int nKind, int nNumber) {
    if (CSection* pMarked = FindActiveVariationOfKind(nKind)) {
        if (pMarked->GetNumber() == nNumber)
            return true;
        pMarked->SetActive(false);
        UpdateAllViews(nullptr, 0, pMarked);
    }
    CSection* pSection = FindVariationOfKind(nKind, nNumber);
    if (!pSection)
        return false;
    pSection->SetActive(true);
    UpdateAllViews(nullptr, 0, pSection);
    return true;
}

namespace {

// Queues the section's whole block, or lists it when it cannot be sent as it is.
bool SendWhole(CSection& section, std::vector<const CSection*>* pSkipped) {
    if (section.SendFault() != CSection::ESendFault::kNone) {
        if (pSkipped)
            pSkipped->push_back(&section);
        return false;
    }
    return section.SendAll();
}

} // namespace

bool CQuenleyDoc::SendProject(std::vector<const CSection*>* pSkipped) {
    if (m_sections.empty())
        return false;
    for (const auto& p : m_sections)
        SendWhole(*p, pSkipped);
    return true;
}

std::vector<CSection*> CQuenleyDoc::FindSections(const std::vector<SSectionKey>& keys) const {
    // One walk of the list rather than a search per key: a selection may be the whole project.
    std::set<std::pair<int, int>> wanted;
    for (const SSectionKey& key : keys)
        wanted.emplace(key.nKind, key.nNumber);
    std::vector<CSection*> found;
    for (const auto& p : m_sections)
        if (wanted.count({p->GetKind(), p->GetNumber()}) != 0)
            found.push_back(p.get());
    return found;
}

int CQuenleyDoc::SendSections(const std::vector<SSectionKey>& keys,
                              std::vector<const CSection*>* pSkipped) {
    int nSent = 0;
    for (CSection* pSection : FindSections(keys))
        nSent += SendWhole(*pSection, pSkipped) ? 1 : 0;
    return nSent;
}

int CQuenleyDoc::DestroySections(const std::vector<SSectionKey>& keys) {
    const std::vector<CSection*> doomed = FindSections(keys);
    if (doomed.empty())
        return 0;
    const int nPreferKind = doomed.front()->GetKind();
    std::set<int> kinds;
    int nRemoved = 0;
    BeginEdit();
    for (CSection* pSection : doomed) {
        const int nKind = pSection->GetKind();
        if (RemoveVariation(pSection)) {
            kinds.insert(nKind);
            ++nRemoved;
        }
    }
    for (int nKind : kinds)
        SectionListChanged(nKind);
    EndEdit(nRemoved == 1 ? QCoreApplication::translate("CQuenleyDoc", "Destroy %1")
                          : QCoreApplication::translate("CQuenleyDoc", "Destroy %n variations",
                                                        nullptr, nRemoved),
            nPreferKind);
    return nRemoved;
}

namespace {

template <class T> bool ReadList(CArchive& ar, std::list<std::unique_ptr<T>>& list) {
    std::uint32_t nCount = 0;
    if (!ar.ReadCount(nCount))
        return false;
    for (std::uint32_t i = 0; i < nCount; ++i) {
        std::unique_ptr<CSerializable> pObj = ar.ReadObject();
        // An object of the other list's class is as wrong as an unknown one.
        T* p = dynamic_cast<T*>(pObj.get());
        if (!p) {
            ar.Fail();
            return false;
        }
        pObj.release();
        list.emplace_back(p);
    }
    return true;
}

// Puts a loaded section list into the store's order, which every search relies on. A number
// given twice is refused: no file we write has one, and a search would only ever find one of
// them. Of several active marks of a kind the first in store order stays (the one a search
// finds), so that the next MakeActive leaves one mark, not two.
bool PutInStoreOrder(CSectionList& sections) {
    sections.sort([](const auto& a, const auto& b) {
        return Kinds::StoreOrderLess(a->GetKind(), a->GetNumber(), b->GetKind(), b->GetNumber());
    });
    std::array<bool, Kinds::kLastKind + 1> marked{};
    const CSection* pPrevious = nullptr;
    for (const auto& p : sections) {
        if (pPrevious && pPrevious->GetKind() == p->GetKind() &&
            pPrevious->GetNumber() == p->GetNumber())
            return false;
        if (p->IsActive() && Kinds::IsKind(p->GetKind())) {
            bool& bMarked = marked[static_cast<std::size_t>(p->GetKind())];
            if (bMarked)
                p->SetActive(false);
            bMarked = true;
        }
        pPrevious = p.get();
    }
    return true;
}

template <class T> void WriteList(CArchive& ar, const std::list<std::unique_ptr<T>>& list) {
    ar.WriteCount(static_cast<std::uint32_t>(list.size()));
    for (const auto& p : list)
        ar.WriteObject(*p);
}

} // namespace

void CQuenleyDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        WriteList(ar, m_sections);
        WriteList(ar, m_workspaces);
        return;
    }
    // Read into fresh lists, so a damaged file never leaves half a project behind.
    CSectionList sections;
    CWorkspaceList workspaces;
    if (!ReadList(ar, sections) || !ReadList(ar, workspaces))
        return;
    if (!PutInStoreOrder(sections)) {
        ar.Fail();
        return;
    }
    for (const auto& p : sections)
        p->SetTransmitQueue(m_pQueue);
    m_sections = std::move(sections);
    m_workspaces = std::move(workspaces);
    m_searchPos = m_sections.end();
}

QByteArray CQuenleyDoc::SaveToBytes() {
    QByteArray bytes;
    CArchive ar(bytes, CArchive::kStore);
    Serialize(ar);
    return bytes;
}

bool CQuenleyDoc::LoadFromBytes(const QByteArray& bytes) {
    DeleteContents();
    // Whoever loads them knows whether they are what the file holds.
    m_savedBytes.clear();
    m_bSavedHeld = false;
    QByteArray data = bytes;
    CArchive ar(data, CArchive::kLoad);
    Serialize(ar);
    // Anything after the window list means this is not a project file.
    if (ar.Failed() || !ar.AtEnd()) {
        DeleteContents();
        return false;
    }
    return true;
}

bool CQuenleyDoc::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    m_stamp = {};
    m_savedBytes.clear();
    m_bSavedHeld = false;
    SetModifiedFlag(false);
    return true;
}

bool CQuenleyDoc::OnOpenDocument(const QString& strPath) {
    m_strLastError.clear();
    QByteArray bytes;
    ProjectFile::SFileStamp stamp;
    if (!ProjectFile::ReadRegular(strPath, bytes, m_strLastError, &stamp)) {
        DeleteContents();
        return false;
    }
    if (!LoadFromBytes(bytes)) {
        m_strLastError = QString::fromLatin1(ProjectFile::kUnexpectedFormat);
        return false;
    }
    m_strPathName = strPath;
    m_stamp = stamp;
    m_savedBytes = bytes;
    m_bSavedHeld = true;
    SetModifiedFlag(false);
    RestoreWindowLayout();
    return true;
}

bool CQuenleyDoc::OnSaveDocument(const QString& strPath) {
    m_strLastError.clear();
    SaveWindowLayout();
    const QByteArray bytes = SaveToBytes();
    DiscardWindowLayout();
    if (!ProjectFile::WriteRegular(strPath, bytes, m_strLastError, &m_stamp))
        return false;
    m_strPathName = strPath;
    m_savedBytes = bytes;
    m_bSavedHeld = true;
    if (m_pHistory)
        m_pHistory->ProjectSaved();
    SetModifiedFlag(false);
    return true;
}

std::unique_ptr<CSection> CQuenleyDoc::SavedVariation(int nKind, int nNumber,
                                                      ESaved* pWhence) const {
    const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
    std::unique_ptr<CSection> pCopy(pTemplate ? pTemplate->CreateVariation(nNumber) : nullptr);
    if (!pCopy)
        return nullptr;
    pCopy->SetTransmitQueue(m_pQueue);
    ESaved eWhence = ESaved::kNeverSaved;
    QByteArray bytes = m_savedBytes;
    bool bHeld = m_bSavedHeld;
    if (!bHeld && !m_strPathName.isEmpty() && QFileInfo::exists(m_strPathName)) {
        QString strError;
        bHeld = ProjectFile::ReadRegular(m_strPathName, bytes, strError);
        if (!bHeld)
            eWhence = ESaved::kUnreadable;
    }
    if (bHeld) {
        // Parsed apart from the project, which it must not touch.
        CQuenleyDoc saved;
        if (!saved.LoadFromBytes(bytes)) {
            eWhence = ESaved::kUnreadable;
        } else if (const CSection* pSaved = saved.FindVariationOfKind(nKind, nNumber);
                   pSaved && pCopy->CopyFrom(*pSaved)) {
            pCopy->SetActive(pSaved->IsActive());
            eWhence = ESaved::kFile;
        } else {
            eWhence = ESaved::kNotInFile;
        }
    }
    if (pWhence)
        *pWhence = eWhence;
    return pCopy;
}

bool CQuenleyDoc::FileChangedOnDisk() const {
    return !m_strPathName.isEmpty() && ProjectFile::ChangedSince(m_strPathName, m_stamp);
}

void CQuenleyDoc::OnCloseDocument() {
    DeleteContents();
}

void CQuenleyDoc::DeleteContents() {
    while (!m_sections.empty())
        m_sections.pop_front();
    m_searchPos = m_sections.end();
    DiscardWindowLayout();
    if (m_pHistory)
        m_pHistory->ProjectReplaced();
}

void CQuenleyDoc::SaveWindowLayout() {
    for (CDocumentView* pView : m_views) {
        int nNumber = 0;
        if (!pView->GetShownNumber(nNumber))
            continue;
        SWindowPlacement placement;
        if (!pView->GetWindowPlacement(placement))
            continue;
        // At the head, so the records end up in reverse view order.
        m_workspaces.push_front(
            std::make_unique<CWorkspace>(pView->GetViewType(), nNumber, placement));
    }
}

void CQuenleyDoc::RestoreWindowLayout() {
    m_nUnknownWindows = 0;
    m_nUnmadeWindows = 0;
    m_nWindowsOverLimit = 0;
    if (m_workspaces.empty() || !m_pHost) {
        DiscardWindowLayout();
        return;
    }
    // A record of a type this program has no window for, or one whose window cannot be made,
    // is skipped and counted; the others still open, in the file's order, up to the limit. The
    // records are dropped afterwards either way, so a later save writes only the windows that
    // are open then.
    std::set<std::pair<std::int32_t, std::int32_t>> seen;
    int nTried = 0;
    for (const auto& pRecord : m_workspaces) {
        if (!seen.emplace(pRecord->m_nViewType, pRecord->m_nNumber).second)
            continue;
        if (!m_pHost->HasViewTemplate(pRecord->m_nViewType)) {
            ++m_nUnknownWindows;
        } else if (nTried == kMaxReopenedWindows) {
            ++m_nWindowsOverLimit;
        } else {
            ++nTried;
            if (!m_pHost->OpenSavedWindow(*this, *pRecord))
                ++m_nUnmadeWindows;
        }
    }
    DiscardWindowLayout();
}

void CQuenleyDoc::DiscardWindowLayout() {
    m_workspaces.clear();
}
