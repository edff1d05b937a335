#pragma once

#include "CInstrument.h"

// The four sample instruments, which share their values and defaults.
class CSmpl : public CInstrument {
public:
    CSmpl() : CSmpl(Kinds::kSmplInfo) {}

protected:
    explicit CSmpl(const Kinds::SKindInfo& info) : CInstrument(info) {}
};
