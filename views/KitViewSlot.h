#pragma once

#include "CSection.h"

#include <memory>

// One section kind as a kit window sees it: the section of that kind it shows, which belongs to
// the document, and a section of the kind of its own that only names the kind in the document's
// look-ups. It is never edited or sent.
struct KitViewSlot {
    CSection* pCurrent = nullptr;
    std::unique_ptr<CSection> templ;
};
