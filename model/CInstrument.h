#pragma once

#include "CSection.h"

// The instrument variations: 16-character names and the values of area 0x3E.
class CInstrument : public CSection {
public:
    CInstrument() : CInstrument(Kinds::kInstrumentInfo) {}

protected:
    explicit CInstrument(const Kinds::SKindInfo& info) : CSection(info, true) {}
};
