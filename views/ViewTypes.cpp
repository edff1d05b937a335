#include "ViewTypes.h"

#include "CClapView.h"
#include "CCrshView.h"
#include "CHiHaView.h"
#include "CHiToView.h"
#include "CKickView.h"
#include "CLFOsView.h"
#include "CLoToView.h"
#include "CQuenleyView.h"
#include "CQuickView.h"
#include "CRideView.h"
#include "CRimsView.h"
#include "CSnarView.h"

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
static_assert(CQuickView::kViewType == kQuick && CQuenleyView::kViewType == kKit &&
              CKickView::kViewType == kKick && CSnarView::kViewType == kSnare &&
              CLoToView::kViewType == kLowTom && CHiToView::kViewType == kHighTom &&
              CHiHaView::kViewType == kHiHat && CClapView::kViewType == kClap &&
              CRimsView::kViewType == kRimshot && CCrshView::kViewType == kCrash &&
              CRideView::kViewType == kRide && CLFOsView::kViewType == kLfos);

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
    case kQuick:
        return std::make_unique<CQuickView>(pDoc);
    case kKit:
        return std::make_unique<CQuenleyView>(pDoc);
    case kKick:
        return std::make_unique<CKickView>(pDoc);
    case kSnare:
        return std::make_unique<CSnarView>(pDoc);
    case kLowTom:
        return std::make_unique<CLoToView>(pDoc);
    case kHighTom:
        return std::make_unique<CHiToView>(pDoc);
    case kHiHat:
        return std::make_unique<CHiHaView>(pDoc);
    case kClap:
        return std::make_unique<CClapView>(pDoc);
    case kRimshot:
        return std::make_unique<CRimsView>(pDoc);
    case kCrash:
        return std::make_unique<CCrshView>(pDoc);
    case kRide:
        return std::make_unique<CRideView>(pDoc);
    case kLfos:
        return std::make_unique<CLFOsView>(pDoc);
    default:
        return nullptr;
    }
}

} // namespace ViewTypes
