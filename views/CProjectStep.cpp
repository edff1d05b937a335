#include "CProjectStep.h"

#include "CQuenleyDoc.h"

namespace {
constexpr int kMergeable = 1;
}

CProjectStep::CProjectStep(CQuenleyDoc& doc, const QString& strName, CProjectChange change,
                           quint64 nMergeKey)
    : QUndoCommand(strName), m_doc(doc), m_change(std::move(change)), m_nMergeKey(nMergeKey) {}

int CProjectStep::id() const {
    return m_nMergeKey != 0 ? kMergeable : -1;
}

bool CProjectStep::mergeWith(const QUndoCommand* pOther) {
    const auto* pStep = dynamic_cast<const CProjectStep*>(pOther);
    if (!pStep || pStep->m_nMergeKey != m_nMergeKey)
        return false;
    m_change.Append(pStep->m_change);
    // A drag that ends where it began leaves nothing to undo.
    setObsolete(m_change.IsEmpty());
    return true;
}

void CProjectStep::undo() {
    m_doc.ApplyChange(m_change, false);
    m_bDone = false;
}

void CProjectStep::redo() {
    if (!m_bDone)
        m_doc.ApplyChange(m_change, true);
    m_bDone = true;
}
