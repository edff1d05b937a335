#pragma once

#include "CSection.h"
#include "CWorkspace.h"

#include <QByteArray>
#include <QString>

#include <list>
#include <memory>
#include <vector>

class CArchive;
class CDocumentHost;
class CDocumentView;

using CSectionList = std::list<std::unique_ptr<CSection>>;
using CWorkspaceList = std::list<std::unique_ptr<CWorkspace>>;

// One open project: every section in one ordered list (kinds from the LFOs down to the kits,
// numbers ascending within a kind), the views that show it, its modified flag, and its file.
// Saving and loading also carry the records of the editor windows that were open.
class CQuenleyDoc {
public:
    CQuenleyDoc();
    ~CQuenleyDoc();
    CQuenleyDoc(const CQuenleyDoc&) = delete;
    CQuenleyDoc& operator=(const CQuenleyDoc&) = delete;

    void SetHost(CDocumentHost* pHost) { m_pHost = pHost; }

    // Views.
    void AddView(CDocumentView* pView);
    void RemoveView(CDocumentView* pView);
    const std::vector<CDocumentView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CDocumentView* pSender, int nHint = 0, CSection* pHint = nullptr);
    void SectionListChanged(int nKind);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);
    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& strPath) { m_strPathName = strPath; }

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
    // Closes the MIDI port and drops what is still queued, then empties the document.
    void OnCloseDocument();
    void DeleteContents();
    // The text of the message for the last failed open or save.
    const QString& LastError() const { return m_strLastError; }

    void SaveWindowLayout();
    void RestoreWindowLayout();
    void DiscardWindowLayout();
    const CWorkspaceList& GetWorkspaces() const { return m_workspaces; }
    CWorkspaceList& Workspaces() { return m_workspaces; }

private:
    // Walks the list as every search does; see the .cpp.
    CSection* Search(int nKind, int nNumber, bool bActive);

    CSectionList m_sections;
    CSectionList::iterator m_searchPos; // end() when the last search ran off the list
    CWorkspaceList m_workspaces;
    std::vector<CDocumentView*> m_views;
    CDocumentHost* m_pHost = nullptr;
    bool m_bModified = false;
    QString m_strPathName;
    QString m_strLastError;
};
