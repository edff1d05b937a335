#pragma once

#include <QString>

#include <memory>

class CDView;
class CQuenleyDoc;

// The view type numbers that project files store for their windows, the name of each type as
// the user sees it, and the one place that makes a view for a type.
namespace ViewTypes {

inline constexpr int kQuick = 1;
inline constexpr int kKit = 2;
inline constexpr int kKick = 3;
inline constexpr int kSnare = 4;
inline constexpr int kLowTom = 5;
inline constexpr int kHighTom = 6;
inline constexpr int kHiHat = 7;
inline constexpr int kClap = 8;
inline constexpr int kRimshot = 9;
inline constexpr int kCrash = 10;
inline constexpr int kRide = 11;
inline constexpr int kLfos = 12;

inline constexpr int kFirst = kQuick;
inline constexpr int kLast = kLfos;

bool IsKnownViewType(int nViewType);

// "Kit", "Low Tom", ...; empty for an unknown type.
QString ViewTypeName(int nViewType);

// A new view of the type on the document, not yet initially updated; null for an unknown type
// or without a document.
std::unique_ptr<CDView> CreateView(int nViewType, CQuenleyDoc* pDoc);

} // namespace ViewTypes
