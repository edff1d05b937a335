// Feeds arbitrary bytes to the .syx reader as a dump received into a project that holds some
// variations already, and checks what came in: every value a byte the module can hold, every
// variation a number of its kind, the store in order, the marks kept, nothing sent to the
// module, and the result's own dump, received again, changing nothing. The project must save
// and load again.
#include "CDumpPlan.h"
#include "CMidiWnd.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "CSysExReader.h"
#include "FuzzHarness.h"
#include "ProjectSysEx.h"
#include "RuntimeClasses.h"

#include <memory>

namespace {

CFuzzHarness& Harness() {
    static CFuzzHarness* const pHarness = new CFuzzHarness("quenley-fuzz-syx");
    return *pHarness;
}

[[noreturn]] void Fault(const char* pszWhat) {
    Harness().Fault(pszWhat);
}

// A project with an active variation at each end of the numbers and one in the middle.
void FillProject(CQuenleyDoc& doc) {
    for (int nKind : {Kinds::kKick, Kinds::kLfos, Kinds::kKit}) {
        std::unique_ptr<CSection> templ(NewSectionOfKind(nKind));
        const int nLast = Kinds::Info(nKind).nVariations - 1;
        for (int nNumber : {0, nLast / 2, nLast})
            doc.FindOrCreateVariation(templ.get(), nNumber);
        doc.MakeActive(nKind, nLast / 2);
    }
}

void CheckProject(CQuenleyDoc& doc) {
    const CSection* pPrevious = nullptr;
    int nMarks = 0;
    for (const auto& pSection : doc.GetSectionList()) {
        const CSection& s = *pSection;
        if (s.SendFault() != CSection::ESendFault::kNone)
            Fault("a received variation the module could not take");
        if (pPrevious && !Kinds::StoreOrderLess(pPrevious->GetKind(), pPrevious->GetNumber(),
                                                s.GetKind(), s.GetNumber()))
            Fault("store out of order or a variation twice");
        if (s.GetKind() == Kinds::kKit)
            for (int i = 0; i < s.Info().nNameParams; ++i)
                if (static_cast<unsigned char>(s.GetName()[i]) != s.GetParam(i))
                    Fault("kit name and values apart");
        nMarks += s.IsActive() ? 1 : 0;
        pPrevious = &s;
    }
    if (nMarks != 3)
        Fault("active marks lost or made");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    CMidiWnd& wnd = Harness().Wnd();

    CQuenleyDoc doc(&wnd);
    FillProject(doc);
    CSysExReader reader;
    reader.Read(QByteArray(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize)));
    if (reader.Values() > int(nSize / 2) || reader.Messages() > int(nSize / 10))
        Fault("more read than the input holds");
    CDumpPlan plan;
    plan.Make(reader, doc);
    if (plan.Describe(reader).isEmpty())
        Fault("nothing described");
    if (plan.Apply(doc) < 0)
        Fault("a variation could not be made");
    CheckProject(doc);
    if (wnd.QueueLength() != 0)
        Fault("receiving sent something to the module");

    // The project's own dump carries nothing new for it.
    CSysExReader again;
    again.Read(ProjectSysEx::Messages(doc, 0));
    CDumpPlan same;
    same.Make(again, doc);
    if (again.SkippedTotal() != 0 || same.Apply(doc) != 0)
        Fault("the project's own dump changed it");

    CQuenleyDoc reloaded;
    if (!reloaded.LoadFromBytes(doc.SaveToBytes()) ||
        reloaded.GetSectionList().size() != doc.GetSectionList().size())
        Fault("received project does not load again");
    wnd.DestroySysExList();
    return 0;
}
