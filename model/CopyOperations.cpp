#include "CopyOperations.h"

#include "CProjectChange.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "SectionKinds.h"

#include <QCoreApplication>

namespace CopyOperations {

namespace {

QString Tr(const char* pszText) {
    return QCoreApplication::translate("CopyOperations", pszText);
}

QString Title(const CSection& section) {
    return CProjectChange::Title(section.GetKind(), section.GetNumber());
}

// One copy in progress: where it goes and whom it asks.
struct SCopy {
    CQuenleyDoc& doc;
    CQuenleyDoc& sourceDoc;
    const CSection& source;
    const FAsk& ask;

    bool MayOverwrite(SQuestion::EType eType, const CSection& kind, int nNumber, bool bYesNo) {
        const QString strText =
            QuestionName(kind.GetKind(), nNumber) + Tr(" always exist\noverwrite ?");
        return ask && ask({eType, kind.GetKind(), nNumber, strText, bYesNo});
    }

    void SayCopyFailed(const CSection& kind, int nNumber) {
        if (ask)
            ask({SQuestion::EType::kCopyFailed, kind.GetKind(), nNumber,
                 Tr("Error copy variation !"), false});
    }

    // Overwriting changes the user's data as much as creating does.
    void Finish(CSection& target) {
        doc.SetModifiedFlag(true);
        target.SendAll();
        doc.UpdateAllViews(nullptr, 0, &target);
    }

    SResult Instrument(int nTarget) {
        if (doc.FindVariation(&source, nTarget) &&
            !MayOverwrite(SQuestion::EType::kOverwrite, source, nTarget, false))
            return {};
        CSection* pTarget = doc.FindOrCreateVariation(&source, nTarget);
        if (!pTarget)
            return {};
        if (!pTarget->CopyFrom(source)) {
            SayCopyFailed(source, nTarget);
            return {};
        }
        Finish(*pTarget);
        return {pTarget, 0, Tr("%1 copied to %2.").arg(Title(source), Title(*pTarget))};
    }

    // One of the source kit's sounds to number nNumber of its kind; false when it was skipped
    // or failed.
    bool Sound(const CSection& sound, int nNumber) {
        CSection* pExisting = doc.FindVariation(&sound, nNumber);
        // The kit already uses the sound stored under that number: nothing to copy.
        if (pExisting == &sound)
            return true;
        if (pExisting && !MayOverwrite(SQuestion::EType::kOverwriteSound, sound, nNumber, true))
            return false;
        CSection* pTarget = doc.FindOrCreateVariation(&sound, nNumber);
        if (!pTarget)
            return false;
        if (!pTarget->CopyFrom(sound)) {
            SayCopyFailed(sound, nNumber);
            return false;
        }
        Finish(*pTarget);
        return true;
    }

    SResult Kit(int nTarget, bool bStoreSounds) {
        if (doc.FindVariation(&source, nTarget) &&
            !MayOverwrite(SQuestion::EType::kOverwrite, source, nTarget, true))
            return {};
        CSection* pTarget = doc.FindOrCreateVariation(&source, nTarget);
        if (!pTarget)
            return {};
        const int nNumber = nTarget % Kinds::kKitsPerBank;
        int nSounds = 0;
        if (bStoreSounds) {
            pTarget->SetName(source.GetName());
            for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
                const int nUsed = source.GetParam(Kinds::KitParamOfKind(nKind));
                const CSection* pSound = sourceDoc.FindVariationOfKind(nKind, nUsed);
                if (pSound && Sound(*pSound, nNumber)) {
                    pTarget->SetParam(Kinds::KitParamOfKind(nKind), nNumber);
                    ++nSounds;
                }
            }
        } else if (!pTarget->CopyFrom(source)) {
            SayCopyFailed(source, nTarget);
            return {};
        }
        // An active kit's sounds are the active ones, whichever way the kit was filled.
        if (pTarget->IsActive()) {
            for (int nKind = Kinds::kKick; nKind <= Kinds::kLastKind; ++nKind) {
                const int nUsed = pTarget->GetParam(Kinds::KitParamOfKind(nKind));
                if (nUsed < CSection::kNoValue)
                    doc.MakeActive(nKind, nUsed);
            }
        }
        Finish(*pTarget);
        const QString strFrom = Title(source);
        const QString strTo = Title(*pTarget);
        QString strOutcome;
        if (!bStoreSounds)
            strOutcome = Tr("%1 copied to %2.").arg(strFrom, strTo);
        else if (nSounds == 0)
            strOutcome = Tr("%1 copied to %2 with no sounds.").arg(strFrom, strTo);
        else if (nSounds == 1)
            strOutcome = Tr("%1 copied to %2 with 1 sound.").arg(strFrom, strTo);
        else
            strOutcome = Tr("%1 copied to %2 with %3 sounds.").arg(strFrom, strTo).arg(nSounds);
        return {pTarget, nSounds, strOutcome};
    }
};

} // namespace

QString QuestionName(int nKind, int nNumber) {
    if (nKind == Kinds::kKit)
        return QStringLiteral("Kit%1 Bank%2")
            .arg(nNumber % Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'))
            .arg(nNumber / Kinds::kKitsPerBank, 3, 10, QLatin1Char('0'));
    return QString::fromLatin1(Kinds::Info(nKind).pszLabel) +
           QStringLiteral("%1").arg(nNumber, 3, 10, QLatin1Char('0'));
}

SResult Copy(CQuenleyDoc& doc, CQuenleyDoc& sourceDoc, const CSection& source, int nTarget,
             const SOptions& options, const FAsk& ask) {
    if (&doc == &sourceDoc && nTarget == source.GetNumber())
        return {};
    SCopy copy{doc, sourceDoc, source, ask};
    doc.BeginEdit();
    const SResult result = source.GetKind() == Kinds::kKit ? copy.Kit(nTarget, options.bStoreSounds)
                                                           : copy.Instrument(nTarget);
    doc.EndEdit(Tr("Copy to %1"), source.GetKind());
    return result;
}

} // namespace CopyOperations
