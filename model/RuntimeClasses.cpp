#include "RuntimeClasses.h"

#include "CClap.h"
#include "CCrsh.h"
#include "CHiHa.h"
#include "CHiTo.h"
#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CLoTo.h"
#include "CRide.h"
#include "CRims.h"
#include "CSnar.h"
#include "CWorkspace.h"

#include <array>
#include <cstring>

namespace {
template <class T> CSerializable* Create() { return new (std::nothrow) T; }

constexpr std::uint16_t kSectionSchema = 1;

// Indexed by kind - 1, then the window record.
const std::array<SRuntimeClass, Kinds::kLastKind + 1> kClasses{{
    {Kinds::kKinds[Kinds::kKit].pszClass, kSectionSchema, Create<CKit>},
    {Kinds::kKinds[Kinds::kKick].pszClass, kSectionSchema, Create<CKick>},
    {Kinds::kKinds[Kinds::kSnare].pszClass, kSectionSchema, Create<CSnar>},
    {Kinds::kKinds[Kinds::kLowTom].pszClass, kSectionSchema, Create<CLoTo>},
    {Kinds::kKinds[Kinds::kHighTom].pszClass, kSectionSchema, Create<CHiTo>},
    {Kinds::kKinds[Kinds::kHiHat].pszClass, kSectionSchema, Create<CHiHa>},
    {Kinds::kKinds[Kinds::kClap].pszClass, kSectionSchema, Create<CClap>},
    {Kinds::kKinds[Kinds::kRimshot].pszClass, kSectionSchema, Create<CRims>},
    {Kinds::kKinds[Kinds::kCrash].pszClass, kSectionSchema, Create<CCrsh>},
    {Kinds::kKinds[Kinds::kRide].pszClass, kSectionSchema, Create<CRide>},
    {Kinds::kKinds[Kinds::kLfos].pszClass, kSectionSchema, Create<CLFOs>},
    {"CWorkspace", 0, Create<CWorkspace>},
}};
} // namespace

const SRuntimeClass* SectionRuntimeClass(int nKind) {
    return Kinds::IsKind(nKind) ? &kClasses[static_cast<size_t>(nKind - 1)] : nullptr;
}

const SRuntimeClass* WorkspaceRuntimeClass() { return &kClasses.back(); }

CSection* NewSectionOfKind(int nKind) {
    const SRuntimeClass* pClass = SectionRuntimeClass(nKind);
    return pClass ? static_cast<CSection*>(pClass->pCreate()) : nullptr;
}

const SRuntimeClass* FindRuntimeClass(std::string_view name) {
    for (const SRuntimeClass& c : kClasses)
        if (name == c.pszName)
            return &c;
    return nullptr;
}
