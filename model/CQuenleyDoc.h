#pragma once

#include "CEditHistory.h"
#include "CProjectChange.h"
#include "CSection.h"
#include "CWorkspace.h"
#include "ProjectFile.h"
#include "SectionKey.h"

#include <QByteArray>
#include <QString>

#include <list>
#include <memory>
#include <vector>

class CArchive;
class CDocumentHost;
class CDocumentView;
class CTransmitQueue;

using CSectionList = std::list<std::unique_ptr<CSection>>;
using CWorkspaceList = std::list<std::unique_ptr<CWorkspace>>;

// One open project: every section in one ordered list (kinds from the LFOs down to the kits,
// numbers ascending within a kind), the views that show it, its modified flag, and its file.
// Saving and loading also carry the records of the editor windows that were open.
class CQuenleyDoc {
public:
    // pQueue: where the sections send, as SetTransmitQueue.
    explicit CQuenleyDoc(CTransmitQueue* pQueue = nullptr);
    ~CQuenleyDoc();
    CQuenleyDoc(const CQuenleyDoc&) = delete;
    CQuenleyDoc& operator=(const CQuenleyDoc&) = delete;

    void SetHost(CDocumentHost* pHost) { m_pHost = pHost; }
    // The queue every section of the project sends through, those it holds now and those it
    // takes in later; null sends nothing. It must outlive the document.
    void SetTransmitQueue(CTransmitQueue* pQueue);
    CTransmitQueue* TransmitQueue() const { return m_pQueue; }

    // Views.
    void AddView(CDocumentView* pView);
    void RemoveView(CDocumentView* pView);
    const std::vector<CDocumentView*>& GetViews() const { return m_views; }
    // Kit windows' kits follow the change first (CDocumentView::FollowedKit); then every view
    // but the sender is told.
    void UpdateAllViews(CDocumentView* pSender, int nHint = 0, CSection* pHint = nullptr);
    void SectionListChanged(int nKind);

    // Edits. What the user changes between BeginEdit and the matching EndEdit is one step of
    // the project's history, when it has one; brackets nest and the outermost one counts. In
    // strName "%1" stands for the first changed section of nPreferKind (else the first changed
    // one): "%1 Decay" is recorded as "Kick 007 Decay". With a history the modified mark is
    // whether the project differs from its saved state.
    void BeginEdit();
    void EndEdit(const QString& strName, int nPreferKind = 0, quint64 nMergeKey = 0);
    void SetHistory(std::unique_ptr<CEditHistory> pHistory);
    CEditHistory* History() const { return m_pHistory.get(); }
    // Puts every section the change touched back as it was before it (bForward false) or as
    // the edit left it, sends the module what the edit sent for them, and tells the views.
    void ApplyChange(const CProjectChange& change, bool bForward);

    bool IsModified() const { return m_bModified; }
    // True marks a change; one made outside an edit keeps the project modified whatever the
    // history does, so it is never lost without the question on closing. False: the project
    // is as saved.
    void SetModifiedFlag(bool bModified = true);
    // The history moved: modified is whether it left its saved state.
    void FollowHistory();
    const QString& GetPathName() const { return m_strPathName; }
    // What the file held is not known then: its next save asks nothing.
    void SetPathName(const QString& strPath) {
        m_strPathName = strPath;
        m_stamp = {};
    }
    // What the file held when last read or written here, so that a project recovered from a copy
    // still notices another program's changes to its file.
    const ProjectFile::SFileStamp& FileStamp() const { return m_stamp; }
    void SetFileStamp(const ProjectFile::SFileStamp& stamp) { m_stamp = stamp; }

    // The variation store.
    const CSectionList& GetSectionList() const { return m_sections; }
    CSection* FindVariation(const CSection* pTemplate, int nNumber);
    CSection* FindOrCreateVariation(const CSection* pTemplate, int nNumber);
    CSection* FindVariationOfKind(int nKind, int nNumber);
    CSection* FindActiveVariation(const CSection* pTemplate);
    CSection* FindActiveVariationOfKind(int nKind);
    bool RemoveVariation(CSection* pSection);
    // Moves the kind's active mark to the variation with the number; false (and no mark) when
    // there is none.
    bool MakeActive(int nKind, int nNumber);
    // Queues every section's whole-variation block in list order; false for an empty project.
    // A section that cannot be sent as it is (CSection::SendFault) is skipped and, when
    // pSkipped is given, listed there.
    bool SendProject(std::vector<const CSection*>* pSkipped = nullptr);
    // The sections the keys name, in store order and each once, whatever order the keys come
    // in; a key naming no section of the project is passed over.
    std::vector<CSection*> FindSections(const std::vector<SSectionKey>& keys) const;
    // Send project for only the sections the keys name: their blocks in store order, with the
    // same skipping. The number of sections queued.
    int SendSections(const std::vector<SSectionKey>& keys,
                     std::vector<const CSection*>* pSkipped = nullptr);
    // Removes the sections the keys name as one step of the history ("Destroy Kick 007",
    // "Destroy 5 variations"), telling the views once per kind, kits first so that their
    // windows let go before the kits' sounds are looked at. The number removed.
    int DestroySections(const std::vector<SSectionKey>& keys);

    // The project file.
    void Serialize(CArchive& ar);
    QByteArray SaveToBytes();
    // Replaces the contents; on failure the document is left empty. The sections are put into
    // the store's order whatever order the file lists them in; a kind and number given twice
    // fails the load, and of several active marks of one kind only the first in store order
    // is kept.
    bool LoadFromBytes(const QByteArray& bytes);
    bool OnNewDocument();
    bool OnOpenDocument(const QString& strPath);
    bool OnSaveDocument(const QString& strPath);
    // Empties the document; what it sent is the queue's owner's to keep or drop.
    void OnCloseDocument();
    void DeleteContents();
    // Another program has written the project's file since it was opened or last saved here.
    bool FileChangedOnDisk() const;
    // The text of the message for the last failed open or save.
    const QString& LastError() const { return m_strLastError; }

    // Where SavedVariation's copy comes from.
    enum class ESaved {
        kFile,       // the project's file holds the variation
        kNotInFile,  // the file does not hold it: the variation is new since
        kNeverSaved, // the project has no file, or its file is gone
        kUnreadable, // the file cannot be read as a project
    };
    // A copy of the variation as the project's file holds it, sending through the project's
    // queue, never one of the project's own sections; where the file does not hold it (see
    // ESaved), a new variation of that kind and number with its default sound. The file's bytes
    // are those last opened or saved here; a project recovered from a copy reads its file.
    // Null for a kind or number no variation can have.
    std::unique_ptr<CSection> SavedVariation(int nKind, int nNumber,
                                             ESaved* pWhence = nullptr) const;

    void SaveWindowLayout();
    void RestoreWindowLayout();
    void DiscardWindowLayout();
    // Of the saved windows the last restore met, those naming a view type there is no window
    // for (only a damaged file holds them), those whose window could not be made, and those
    // left closed because kMaxReopenedWindows had been opened before them. A record repeating
    // an earlier one's view type and variation is none of these: that window is open already.
    int UnknownWindows() const { return m_nUnknownWindows; }
    int UnmadeWindows() const { return m_nUnmadeWindows; }
    int WindowsOverLimit() const { return m_nWindowsOverLimit; }
    // A file may hold far more records than anyone could use or the screen could paint.
    static constexpr int kMaxReopenedWindows = 64;
    const CWorkspaceList& GetWorkspaces() const { return m_workspaces; }
    CWorkspaceList& Workspaces() { return m_workspaces; }

private:
    bool HasView(const CDocumentView* pView) const;
    // Walks the list as every search does; see the .cpp.
    CSection* Search(int nKind, int nNumber, bool bActive);
    void SetModified(bool bModified);
    // Gives the section the state and sends what the module needs to hold it too.
    void RestoreSection(CSection& section, const CProjectChange::SEntry& entry,
                        const CProjectChange::SState& state, bool bMade);

    CSectionList m_sections;
    CSectionList::iterator m_searchPos; // end() when the last search ran off the list
    CWorkspaceList m_workspaces;
    int m_nUnknownWindows = 0;
    int m_nUnmadeWindows = 0;
    int m_nWindowsOverLimit = 0;
    std::vector<CDocumentView*> m_views;
    CDocumentHost* m_pHost = nullptr;
    CTransmitQueue* m_pQueue = nullptr;
    bool m_bModified = false;
    QString m_strPathName;
    ProjectFile::SFileStamp m_stamp; // what the file held when last read or written here
    // The file's bytes as last opened or saved here; not held for a new or recovered project.
    QByteArray m_savedBytes;
    bool m_bSavedHeld = false;
    QString m_strLastError;
    std::unique_ptr<CEditHistory> m_pHistory;
    int m_nEditDepth = 0;
    bool m_bApplying = false;
    bool m_bUnrecorded = false;
    CProjectChange::CSnapshot m_editStart;
};
