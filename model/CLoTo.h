#pragma once

#include "CTom.h"

// A low-tom variation.
class CLoTo : public CTom {
public:
    CLoTo() : CTom(Kinds::kKinds[Kinds::kLowTom]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CLoTo; }
};
