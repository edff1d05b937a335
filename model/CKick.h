#pragma once

#include "CInstrument.h"

// A kick variation.
class CKick : public CInstrument {
public:
    CKick() : CInstrument(Kinds::kKinds[Kinds::kKick]) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CKick; }
};
