#pragma once

#include "CEditHistory.h"

#include <QUndoStack>

class CQuenleyDoc;

// The undo stack of one project. The project's modified mark follows the stack: back at the
// saved state, the project is unmodified again.
class CProjectHistory : public CEditHistory {
public:
    explicit CProjectHistory(CQuenleyDoc& doc);
    ~CProjectHistory() override;

    QUndoStack& Stack() { return m_stack; }

    void Record(const QString& strName, CProjectChange change, quint64 nMergeKey) override;
    bool IsClean() const override { return m_stack.isClean(); }
    void ProjectSaved() override { m_stack.setClean(); }
    void ProjectReplaced() override { m_stack.clear(); }

    // Undo and Redo as the Edit menu does them; false when there is nothing to do.
    bool Undo();
    bool Redo();

private:
    void FollowCleanState();

    CQuenleyDoc& m_doc;
    QUndoStack m_stack;
};
