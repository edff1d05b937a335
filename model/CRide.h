#pragma once

#include "CSmpl.h"

// A ride-cymbal variation.
class CRide : public CSmpl {
public:
    CRide() : CSmpl(Kinds::kKinds[Kinds::kRide]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CRide; }
};
