#include "ViewTypes.h"

#include "CQuenleyView.h"

#include <QCoreApplication>

namespace ViewTypes {

namespace {

struct SViewType {
    int nViewType;
    const char* pszName;
};

constexpr SViewType kViewTypes[] = {
    {kQuick, QT_TRANSLATE_NOOP("ViewTypes", "Kit-Info")},
    {kKit, QT_TRANSLATE_NOOP("ViewTypes", "Kit")},
    {kKick, QT_TRANSLATE_NOOP("ViewTypes", "Kick")},
    {kSnare, QT_TRANSLATE_NOOP("ViewTypes", "Snare")},
    {kLowTom, QT_TRANSLATE_NOOP("ViewTypes", "Low Tom")},
    {kHighTom, QT_TRANSLATE_NOOP("ViewTypes", "High Tom")},
    {kHiHat, QT_TRANSLATE_NOOP("ViewTypes", "HiHat")},
    {kClap, QT_TRANSLATE_NOOP("ViewTypes", "Hand Clap")},
    {kRimshot, QT_TRANSLATE_NOOP("ViewTypes", "Rimshot")},
    {kCrash, QT_TRANSLATE_NOOP("ViewTypes", "Crash")},
    {kRide, QT_TRANSLATE_NOOP("ViewTypes", "Ride")},
    {kLfos, QT_TRANSLATE_NOOP("ViewTypes", "LFOs")},
};

constexpr bool TableIsInTypeOrder() {
    int nExpected = kFirst;
    for (const SViewType& type : kViewTypes)
        if (type.nViewType != nExpected++)
            return false;
    return nExpected == kLast + 1;
}
static_assert(TableIsInTypeOrder());
static_assert(CQuenleyView::kViewType == kKit);

} // namespace

bool IsKnownViewType(int nViewType) {
    return nViewType >= kFirst && nViewType <= kLast;
}

QString ViewTypeName(int nViewType) {
    if (!IsKnownViewType(nViewType))
        return {};
    return QCoreApplication::translate("ViewTypes", kViewTypes[nViewType - kFirst].pszName);
}

std::unique_ptr<CDView> CreateView(int nViewType, CQuenleyDoc* pDoc) {
    if (!pDoc)
        return nullptr;
    switch (nViewType) {
    case kKit:
        return std::make_unique<CQuenleyView>(pDoc);
    default:
        // The instrument editors and the kit-info window are not built yet.
        return nullptr;
    }
}

} // namespace ViewTypes
