#pragma once

#include "CProjectChange.h"

#include <QUndoCommand>

class CQuenleyDoc;

// One step of a project's history: an edit that has already been done when it is recorded.
class CProjectStep : public QUndoCommand {
public:
    CProjectStep(CQuenleyDoc& doc, const QString& strName, CProjectChange change,
                 quint64 nMergeKey);

    int id() const override;
    bool mergeWith(const QUndoCommand* pOther) override;
    void undo() override;
    void redo() override;

    const CProjectChange& Change() const { return m_change; }

private:
    CQuenleyDoc& m_doc;
    CProjectChange m_change;
    quint64 m_nMergeKey;
    // The stack does a step when it is pushed; the edit did it already.
    bool m_bDone = true;
};
