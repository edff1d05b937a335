#pragma once

#include "CInstrument.h"

// A hi-hat variation.
class CHiHa : public CInstrument {
public:
    CHiHa() : CInstrument(Kinds::kKinds[Kinds::kHiHat]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CHiHa; }
};
