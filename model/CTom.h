#pragma once

#include "CInstrument.h"

// The two toms, which share their values and defaults.
class CTom : public CInstrument {
public:
    CTom() : CTom(Kinds::kTomInfo) {}

protected:
    explicit CTom(const Kinds::SKindInfo& info) : CInstrument(info) {}
};
