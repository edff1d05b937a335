#include "CProjectHistory.h"

#include "CProjectStep.h"
#include "CQuenleyDoc.h"

CProjectHistory::CProjectHistory(CQuenleyDoc& doc) : m_doc(doc) {
    QObject::connect(&m_stack, &QUndoStack::indexChanged, &m_stack, [this] { FollowCleanState(); });
    QObject::connect(&m_stack, &QUndoStack::cleanChanged, &m_stack, [this] { FollowCleanState(); });
}

CProjectHistory::~CProjectHistory() {
    m_stack.disconnect();
}

void CProjectHistory::Record(const QString& strName, CProjectChange change, quint64 nMergeKey) {
    m_stack.push(new CProjectStep(m_doc, strName, std::move(change), nMergeKey));
}

bool CProjectHistory::Undo() {
    if (!m_stack.canUndo())
        return false;
    m_stack.undo();
    return true;
}

bool CProjectHistory::Redo() {
    if (!m_stack.canRedo())
        return false;
    m_stack.redo();
    return true;
}

void CProjectHistory::FollowCleanState() {
    m_doc.FollowHistory();
}
