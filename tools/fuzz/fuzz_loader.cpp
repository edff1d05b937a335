// Feeds arbitrary bytes to the project loader, then does with whatever loaded what the editor
// does with it: shows it, reads and sends every value, renames it and saves it. A saved project
// must load again and save to the same bytes, and every message queued on the way must be a
// well-formed System Exclusive message whatever the file held.
#include "CMidiWnd.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "CSysExItem.h"
#include "FuzzHarness.h"

namespace {

CFuzzHarness& Harness() {
    static CFuzzHarness* const pHarness = new CFuzzHarness("quenley-fuzz-loader");
    return *pHarness;
}

[[noreturn]] void Fault(const char* pszWhat) {
    Harness().Fault(pszWhat);
}

void CheckQueue(const CMidiWnd& wnd) {
    for (const auto& pItem : wnd.Queue()) {
        if (!pItem || !pItem->pBuffer || pItem->nLength < 2)
            Fault("queued entry without a message");
        const std::uint8_t* p = pItem->pBuffer.get();
        if (p[0] != 0xF0 || p[pItem->nLength - 1] != 0xF7)
            Fault("queued message not framed by F0 .. F7");
        for (int i = 1; i < pItem->nLength - 1; ++i)
            if (p[i] >= 0x80)
                Fault("status byte inside a queued message");
    }
}

void Exercise(CQuenleyDoc& doc) {
    for (const auto& pSection : doc.GetSectionList()) {
        CSection& s = *pSection;
        if (s.GetDisplayString().size() != 24)
            Fault("display string not 24 characters");
        for (int i = -1; i <= s.GetParamCount(); ++i) {
            const int nValue = s.GetParam(i);
            const bool bInRange = i >= 0 && i < s.GetParamCount();
            if (!bInRange && nValue != CSection::kNoValue)
                Fault("value outside the parameter range");
        }
        s.SendAll();
        if (!s.SetName("X"))
            Fault("rename of a loaded section refused");
    }

    const QByteArray saved = doc.SaveToBytes();
    CQuenleyDoc again;
    if (!again.LoadFromBytes(saved))
        Fault("saved project does not load");
    if (again.GetSectionList().size() != doc.GetSectionList().size() ||
        again.GetWorkspaces().size() != doc.GetWorkspaces().size())
        Fault("reloaded project differs in size");
    if (again.SaveToBytes() != saved)
        Fault("reloaded project saves to other bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CMidiWnd& wnd = Harness().Wnd();

    CQuenleyDoc doc(&wnd);
    const QByteArray bytes(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
    if (doc.LoadFromBytes(bytes))
        Exercise(doc);
    else if (!doc.GetSectionList().empty() || !doc.GetWorkspaces().empty())
        Fault("failed load left contents behind");

    CheckQueue(wnd);
    wnd.DestroySysExList();
    doc.DeleteContents();
    return 0;
}
