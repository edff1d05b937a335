#pragma once

#include <memory>

class CDView;
class CQuenleyDoc;

// Temporary until the kit view lands.
namespace ViewTypes {
constexpr int kQuickView = 1;
constexpr int kKitView = 2;
constexpr int kLfoView = 12;
bool IsKnownViewType(int nViewType);
const char* Name(int nViewType);
std::unique_ptr<CDView> CreateView(int nViewType, CQuenleyDoc* pDoc);
} // namespace ViewTypes
