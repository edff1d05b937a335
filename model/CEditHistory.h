#pragma once

#include "CProjectChange.h"

#include <QString>

// Where the project's edits go to be undone and redone: one history per project.
class CEditHistory {
public:
    virtual ~CEditHistory() = default;

    // One finished edit. Edits with the same non-zero merge key in a row are one step: the
    // moves of one drag, the notches of one turn of the wheel.
    virtual void Record(const QString& strName, CProjectChange change, quint64 nMergeKey) = 0;
    // The project is as it was when last saved (or made).
    virtual bool IsClean() const = 0;
    // The project as it is now is the one on disk.
    virtual void ProjectSaved() = 0;
    // The project's contents were replaced; no earlier step applies to them.
    virtual void ProjectReplaced() = 0;
};
