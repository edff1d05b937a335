#include "KitOperations.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "RuntimeClasses.h"
#include "SectionKinds.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace KitOperations {

namespace {

bool IsInstrumentKind(int nKind) {
    return nKind >= Kinds::kKick && nKind <= Kinds::kLastKind;
}

// What a read-out of the panel shows of a kit's value, and so the number the user sees.
int ShownNumber(int nValue) {
    return qBound(Kinds::kMinValue, nValue, Kinds::kMaxValue);
}

// The name as far as both go, as a typed name is compared with the stored one.
bool NameStartsAlike(const char* pszName, const QByteArray& other) {
    for (int i = 0; pszName[i] && i < other.size(); ++i)
        if (pszName[i] != other[i])
            return false;
    return true;
}

void Changed(CQuenleyDoc& doc, CSection& kit, CDocumentView* pSender) {
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(pSender, 0, &kit);
}

} // namespace

CSection* Init(CQuenleyDoc& doc, int nNumber, CDocumentView* pSender) {
    if (nNumber < 0 || nNumber >= Kinds::Info(Kinds::kKit).nVariations)
        return nullptr;
    const QString strStep = QStringLiteral("%1 Init.");
    doc.BeginEdit();
    CSection* pKit = doc.FindVariationOfKind(Kinds::kKit, nNumber);
    if (pKit) {
        const QByteArray untitled(Kinds::kDefaultName, pKit->GetNameLength());
        if (pKit->GetName() && !NameStartsAlike(pKit->GetName(), untitled)) {
            pKit->SetName(untitled.constData());
            Changed(doc, *pKit, pSender);
        }
    } else {
        const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(Kinds::kKit));
        pKit = doc.FindOrCreateVariation(pTemplate.get(), nNumber);
        if (!pKit) {
            doc.EndEdit(strStep, Kinds::kKit);
            return nullptr;
        }
    }
    const int nInBank = nNumber % Kinds::kKitsPerBank;
    for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
        const int nParam = Kinds::KitParamOfKind(nKind);
        int nUse = pKit->GetParam(nParam);
        if (doc.FindVariationOfKind(nKind, nInBank))
            nUse = nInBank;
        else if (nUse == ShownNumber(nUse))
            continue; // the kit keeps the variation it uses, and its mark
        else
            nUse = ShownNumber(nUse); // what the panel shows goes into the block, not 300
        pKit->SetParam(nParam, nUse);
        // Marks only variations that exist; asking for a missing one would clear the mark of
        // the variation the kit goes on using.
        FollowKind(doc, *pKit, nKind);
    }
    pKit->SendAll();
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews(nullptr, 0, pKit);
    doc.EndEdit(strStep, Kinds::kKit);
    return pKit;
}

bool Activate(CQuenleyDoc& doc, CSection& kit, CDocumentView* pSender) {
    if (kit.IsActive() || kit.GetKind() != Kinds::kKit)
        return false;
    doc.BeginEdit();
    const bool bMarked = doc.MakeActive(Kinds::kKit, kit.GetNumber());
    if (bMarked) {
        for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
            const int nUsed = kit.GetParam(Kinds::KitParamOfKind(nKind));
            const CSection* pUsed = doc.FindVariationOfKind(nKind, nUsed);
            // A missing variation still takes the mark from the one the previous kit used.
            if (!pUsed || !pUsed->IsActive())
                doc.MakeActive(nKind, nUsed);
        }
        Changed(doc, kit, pSender);
    }
    doc.EndEdit(QStringLiteral("%1 Active"), Kinds::kKit);
    return bMarked;
}

bool ChooseVariation(CQuenleyDoc& doc, CSection& kit, int nKind, int nNumber,
                     CDocumentView* pSender) {
    if (!IsInstrumentKind(nKind) || kit.GetKind() != Kinds::kKit)
        return false;
    const int nParam = Kinds::KitParamOfKind(nKind);
    if (nNumber == kit.GetParam(nParam))
        return false;
    doc.BeginEdit();
    const bool bSet = kit.SetParam(nParam, nNumber);
    if (bSet) {
        if (kit.IsActive())
            doc.MakeActive(nKind, nNumber);
        Changed(doc, kit, pSender);
    }
    // "%1" is left for the kit's title.
    doc.EndEdit(QStringLiteral("%1 ") + QLatin1String(Kinds::Info(nKind).pszLabel) +
                    QStringLiteral(" Variation"),
                Kinds::kKit);
    return bSet;
}

void FollowSection(CQuenleyDoc& doc, CSection& kit, const CSection& changed,
                   CDocumentView* pFollower) {
    const int nKind = changed.GetKind();
    if (!IsInstrumentKind(nKind) || kit.GetKind() != Kinds::kKit)
        return;
    const int nParam = Kinds::KitParamOfKind(nKind);
    const int nUsed = kit.GetParam(nParam);
    const int nNumber = changed.GetNumber();
    if (nNumber != nUsed && nNumber != ShownNumber(nUsed))
        return;
    if (nNumber != nUsed && kit.SetParam(nParam, nNumber))
        Changed(doc, kit, pFollower);
    FollowKind(doc, kit, nKind);
}

void FollowKind(CQuenleyDoc& doc, CSection& kit, int nKind) {
    if (!IsInstrumentKind(nKind) || kit.GetKind() != Kinds::kKit || !kit.IsActive())
        return;
    const CSection* pUsed =
        doc.FindVariationOfKind(nKind, kit.GetParam(Kinds::KitParamOfKind(nKind)));
    if (pUsed && !pUsed->IsActive() && doc.MakeActive(nKind, pUsed->GetNumber()))
        doc.SetModifiedFlag(true);
}

} // namespace KitOperations
