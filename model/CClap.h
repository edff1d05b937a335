#pragma once

#include "CSmpl.h"

// A clap variation.
class CClap : public CSmpl {
public:
    CClap() : CSmpl(Kinds::kKinds[Kinds::kClap]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CClap; }
};
