#pragma once

#include "CSmpl.h"

// A rimshot variation.
class CRims : public CSmpl {
public:
    CRims() : CSmpl(Kinds::kKinds[Kinds::kRimshot]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CRims; }
};
