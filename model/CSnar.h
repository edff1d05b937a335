#pragma once

#include "CInstrument.h"

// A snare variation.
class CSnar : public CInstrument {
public:
    CSnar() : CInstrument(Kinds::kKinds[Kinds::kSnare]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CSnar; }
};
