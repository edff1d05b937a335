#include "CWorkspace.h"

#include "CArchive.h"
#include "RuntimeClasses.h"

const SRuntimeClass* CWorkspace::GetRuntimeClass() const { return WorkspaceRuntimeClass(); }

void CWorkspace::Serialize(CArchive& ar) {
    // The file keeps the placement in an order of its own.
    SWindowPlacement& p = m_placement;
    std::uint32_t* const words[] = {&p.nFlags, &p.nLength};
    std::int32_t* const ints[] = {&p.nMaxX, &p.nMaxY, &p.nMinX, &p.nMinY,
                                  &p.nLeft, &p.nTop,  &p.nRight, &p.nBottom};
    if (ar.IsStoring()) {
        ar.WriteI32(m_nViewType);
        ar.WriteI32(m_nNumber);
        for (std::uint32_t* pWord : words)
            ar.WriteU32(*pWord);
        for (std::int32_t* pInt : ints)
            ar.WriteI32(*pInt);
        ar.WriteU32(p.nShowCmd);
    } else {
        ar.ReadI32(m_nViewType);
        ar.ReadI32(m_nNumber);
        for (std::uint32_t* pWord : words)
            ar.ReadU32(*pWord);
        for (std::int32_t* pInt : ints)
            ar.ReadI32(*pInt);
        ar.ReadU32(p.nShowCmd);
    }
}
