#pragma once

#include "CTom.h"

// A high-tom variation.
class CHiTo : public CTom {
public:
    CHiTo() : CTom(Kinds::kKinds[Kinds::kHighTom]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CHiTo; }
};
