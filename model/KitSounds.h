#pragma once

#include <vector>

class CQuenleyDoc;
class CSection;

// The instrument variations a kit names, as the project holds them or lacks them.
namespace KitSounds {

struct SSound {
    int nKind = 0;
    int nNumber = 0;
    bool operator==(const SSound&) const = default;
};

// The variations the kit uses that the project does not hold, kick first. A number no variation
// of its kind can have (a damaged project) is left out: nothing could make it.
std::vector<SSound> Missing(CQuenleyDoc& doc, const CSection& kit);

// Makes every missing variation with the default sound, as Init. makes one, and sends each as
// one block; the variations of an active kit take their kind's mark, as the kit's variations do.
// One step of the project's history, and every view of the document is told. Returns how many
// were made.
int CreateMissing(CQuenleyDoc& doc, const CSection& kit);

} // namespace KitSounds
