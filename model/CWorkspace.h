#pragma once

#include "CSerializable.h"

#include <cstdint>

// Where and how a window lay on the screen, as the project file keeps it.
struct SWindowPlacement {
    std::uint32_t nLength = 44;
    std::uint32_t nFlags = 0;
    std::uint32_t nShowCmd = 0;
    std::int32_t nMinX = 0, nMinY = 0;
    std::int32_t nMaxX = 0, nMaxY = 0;
    std::int32_t nLeft = 0, nTop = 0, nRight = 0, nBottom = 0;

    bool operator==(const SWindowPlacement&) const = default;
};

// One editor window open when the project was saved: its view type, the variation it showed
// and its placement.
class CWorkspace : public CSerializable {
public:
    CWorkspace() = default;
    CWorkspace(int nViewType, int nNumber, const SWindowPlacement& placement)
        : m_nViewType(nViewType), m_nNumber(nNumber), m_placement(placement) {}

    const SRuntimeClass* GetRuntimeClass() const override;
    void Serialize(CArchive& ar) override;

    bool operator==(const CWorkspace& o) const {
        return m_nViewType == o.m_nViewType && m_nNumber == o.m_nNumber &&
               m_placement == o.m_placement;
    }

    std::int32_t m_nViewType = 0;
    std::int32_t m_nNumber = 0;
    SWindowPlacement m_placement;
};
