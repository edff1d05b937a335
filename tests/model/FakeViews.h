#pragma once

#include "CDocumentHost.h"
#include "CDocumentView.h"
#include "CQuenleyDoc.h"
#include "CWorkspace.h"

#include <QList>
#include <QString>

// An editor view as the document sees it, recording what it is told.
class CFakeView : public CDocumentView {
public:
    CFakeView(int nViewType, CSection* pShown, SWindowPlacement placement = {})
        : m_nViewType(nViewType), m_pShown(pShown), m_placement(placement) {}

    CSection* GetVariation() const override { return m_pShown; }
    CSection* FollowedKit() const override { return m_pFollowed; }
    int GetViewType() const override { return m_nViewType; }
    bool GetWindowPlacement(SWindowPlacement& placement) const override {
        placement = m_placement;
        return m_bPlacementReadable;
    }
    void OnUpdate(CDocumentView*, int, CSection* pHint) override { updates.push_back(pHint); }
    bool OnSectionListChanged(int nKind) override {
        removedKinds.push_back(nKind);
        return m_pShown && m_pShown->GetKind() == nKind;
    }

    int m_nViewType;
    CSection* m_pShown;
    CSection* m_pFollowed = nullptr;
    SWindowPlacement m_placement;
    bool m_bPlacementReadable = true;
    QList<CSection*> updates;
    QList<int> removedKinds;
};

// The application side of window restoring: which view types have templates, and the windows
// it was asked to open.
class CFakeHost : public CDocumentHost {
public:
    bool HasViewTemplate(int nViewType) const override {
        return nViewType >= 1 && nViewType <= m_nLastTemplate;
    }
    bool OpenSavedWindow(CQuenleyDoc&, const CWorkspace& record) override {
        if (opened.size() == m_nFramesPossible)
            return false;
        opened.push_back(record);
        return true;
    }

    int m_nLastTemplate = 12;
    qsizetype m_nFramesPossible = 100;
    QList<CWorkspace> opened;
};
