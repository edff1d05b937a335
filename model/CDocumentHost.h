#pragma once

class CQuenleyDoc;
class CWorkspace;

// What the project document needs of the application around it: the view templates and the
// frames that reopen saved windows.
class CDocumentHost {
public:
    virtual ~CDocumentHost() = default;

    virtual bool HasViewTemplate(int nViewType) const = 0;
    // Opens a new frame with the view of the record's type for the document, next to the
    // active child, and restores the record's placement and variation onto it. False when the
    // frame cannot be made.
    virtual bool OpenSavedWindow(CQuenleyDoc& doc, const CWorkspace& record) = 0;
    // The document's modified flag changed, so its title can show it.
    virtual void OnModifiedChanged(CQuenleyDoc&) {}
    // The document may have changed (every edit, undo and redo passes here), or was saved.
    virtual void OnContentChanged(CQuenleyDoc&) {}
};
