#include "ViewTypes.h"

#include "CDView.h"

namespace ViewTypes {
bool IsKnownViewType(int n) { return n >= 1 && n <= 12; }
const char* Name(int n) {
    static const char* names[] = {"", "Kit-Info", "Kit", "Kick", "Snare", "Low Tom", "High Tom", "HiHat", "Hand Clap", "Rimshot", "Crash", "Ride", "LFOs"};
    return IsKnownViewType(n) ? names[n] : "";
}
std::unique_ptr<CDView> CreateView(int n, CQuenleyDoc* pDoc) {
    if (n == 2)
        return std::make_unique<CDView>(pDoc, 2, Panels::EPanel::Kit, PanelBitmaps::EPicture::Kit);
    return nullptr;
}
} // namespace ViewTypes
