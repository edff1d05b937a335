#pragma once

#include "CSmpl.h"

// A crash-cymbal variation.
class CCrsh : public CSmpl {
public:
    CCrsh() : CSmpl(Kinds::kKinds[Kinds::kCrash]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CCrsh; }
};
