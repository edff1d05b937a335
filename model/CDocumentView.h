#pragma once

#include "CSection.h"

struct SWindowPlacement;

// What the project document needs of each editor view that shows it: the variation it shows,
// its view type, its frame's placement, and the two kinds of change it must follow.
class CDocumentView {
public:
    virtual ~CDocumentView() = default;

    // The shown section, or null when the view shows none.
    virtual CSection* GetVariation() const = 0;
    // The number the view is set to, which a saved window reopens on: the shown section's, or
    // the number a view chose that has no section yet. False when there is none to keep.
    virtual bool GetShownNumber(int& rnNumber) const {
        const CSection* pSection = GetVariation();
        if (pSection)
            rnNumber = pSection->GetNumber();
        return pSection != nullptr;
    }
    // The kit a kit window is on: the document keeps it in step with the variations that come
    // and change (KitOperations::FollowSection) before the window hears of them.
    virtual CSection* FollowedKit() const { return nullptr; }
    // 1 quick view, 2 kit view, 3..12 the instrument views.
    virtual int GetViewType() const = 0;
    // False when the frame's placement cannot be read; the window is then not remembered.
    virtual bool GetWindowPlacement(SWindowPlacement& placement) const = 0;
    // A section changed (pHint), or with no hint, everything may have.
    virtual void OnUpdate(CDocumentView* pSender, int nHint, CSection* pHint) = 0;
    // Sections of the kind left the project or came into it (an undo, a received dump). True
    // while the view shows a section of that kind.
    virtual bool OnSectionListChanged(int nKind) = 0;
};
