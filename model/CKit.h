#pragma once

#include "CSection.h"

// A numbered kit: its name (also held in its first eight values) and the variation number it
// uses of each instrument kind.
class CKit : public CSection {
public:
    CKit() : CSection(Kinds::kKinds[Kinds::kKit], true) {}

protected:
    CSection* NewOfSameClass() const override { return new (std::nothrow) CKit; }
};
