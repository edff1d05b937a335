#pragma once

#include "CInstrument.h"

// A set of LFOs.
class CLFOs : public CInstrument {
public:
    CLFOs() : CInstrument(Kinds::kKinds[Kinds::kLfos]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CLFOs; }
};
