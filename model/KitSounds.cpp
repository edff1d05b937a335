#include "KitSounds.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "RuntimeClasses.h"
#include "SectionKinds.h"

#include <QCoreApplication>

#include <memory>

namespace KitSounds {

std::vector<SSound> Missing(CQuenleyDoc& doc, const CSection& kit) {
    std::vector<SSound> missing;
    if (kit.GetKind() != Kinds::kKit)
        return missing;
    for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
        const int nNumber = kit.GetParam(Kinds::KitParamOfKind(nKind));
        if (nNumber < 0 || nNumber >= Kinds::Info(nKind).nVariations)
            continue;
        if (!doc.FindVariationOfKind(nKind, nNumber))
            missing.push_back({nKind, nNumber});
    }
    return missing;
}

int CreateMissing(CQuenleyDoc& doc, const CSection& kit) {
    const std::vector<SSound> missing = Missing(doc, kit);
    if (missing.empty())
        return 0;
    doc.BeginEdit();
    std::vector<CSection*> made;
    for (const SSound& sound : missing) {
        const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(sound.nKind));
        CSection* pSection = doc.FindOrCreateVariation(pTemplate.get(), sound.nNumber);
        if (!pSection)
            continue;
        pSection->SendAll();
        made.push_back(pSection);
    }
    if (kit.IsActive())
        for (const CSection* pSection : made)
            doc.MakeActive(pSection->GetKind(), pSection->GetNumber());
    for (const CSection* pSection : made)
        doc.SectionListChanged(pSection->GetKind());
    doc.EndEdit(QCoreApplication::translate("KitSounds", "Create missing sounds"));
    return int(made.size());
}

} // namespace KitSounds
