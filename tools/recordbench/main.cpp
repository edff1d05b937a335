// Send changes next to Send project on the largest project (every kit and every instrument
// variation): the project sent once, three values changed, then only the changes sent. Both go
// to a scripted port that takes each message at cable speed (320 us a byte, 200 ms before a
// block) and confirms it into the record, as the editor's link does; the time of a send is its
// cable time plus the processor time spent planning and queueing it, measured in this run.
#include "CModuleRecord.h"
#include "CQuenleyDoc.h"
#include "CSection.h"
#include "CTransmitQueue.h"
#include "ModuleChanges.h"
#include "RuntimeClasses.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Takes every message at once, counts the time the cable would take for it and confirms it.
class CPacedSink : public CTransmitQueue {
public:
    explicit CPacedSink(CModuleRecord& record) : m_record(record) {}
    int MessageChannel() const override { return 0; }
    bool QueueMessage(const SWhat& what, std::unique_ptr<std::uint8_t[]> pBytes,
                      int nLength) override {
        m_nCableMicros += nLength * ModuleChanges::kMicrosPerByte +
                          (what.bBlock ? ModuleChanges::kBlockPauseMicros : 0);
        ++m_nMessages;
        m_record.AbsorbMessage(pBytes.get(), std::size_t(nLength));
        return true;
    }
    // The cable time and message count since the last call.
    long long TakeMicros(int& nMessages) {
        nMessages = m_nMessages;
        m_nMessages = 0;
        const long long n = m_nCableMicros;
        m_nCableMicros = 0;
        return n;
    }

private:
    CModuleRecord& m_record;
    long long m_nCableMicros = 0;
    int m_nMessages = 0;
};

[[noreturn]] void Die(const char* pszWhat) {
    std::fprintf(stderr, "recordbench: %s\n", pszWhat);
    std::exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    CModuleRecord record;
    CPacedSink sink(record);
    CQuenleyDoc doc(&sink);
    for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind) {
        const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
        for (int n = 0; n < pTemplate->Info().nVariations; ++n)
            if (!doc.FindOrCreateVariation(pTemplate.get(), n))
                Die("cannot build the project");
    }
    int nMessages = 0;
    sink.TakeMicros(nMessages); // what making the sections sent, if anything

    QElapsedTimer clock;
    clock.start();
    doc.SendProject();
    const double dProjectCpuMs = clock.nsecsElapsed() / 1e6;
    int nProjectMessages = 0;
    const double dProjectCableMs = sink.TakeMicros(nProjectMessages) / 1e3;

    // Three edits at the far ends of the store, made as another file would hold them: unsent.
    doc.SetTransmitQueue(nullptr);
    doc.FindVariationOfKind(Kinds::kLfos, 0)->SetParam(2, 17);
    doc.FindVariationOfKind(Kinds::kSnare, 128)->SetParam(0, 3);
    doc.FindVariationOfKind(Kinds::kKit, 767)->SetParam(12, 99);
    doc.SetTransmitQueue(&sink);

    clock.restart();
    const int nCountBefore = ModuleChanges::ValuesToSend(doc, record);
    const double dCountMs = clock.nsecsElapsed() / 1e6;
    clock.restart();
    const ModuleChanges::SPlan plan = ModuleChanges::Make(doc, record);
    ModuleChanges::Send(plan);
    const double dChangesCpuMs = clock.nsecsElapsed() / 1e6;
    int nChangeMessages = 0;
    const double dChangesCableMs = sink.TakeMicros(nChangeMessages) / 1e3;
    if (nCountBefore != 3 || plan.nValues != 3 || nChangeMessages != 3 ||
        ModuleChanges::ValuesToSend(doc, record) != 0)
        Die("Send changes did not send exactly the three changed values");

    const double dProject = dProjectCableMs + dProjectCpuMs;
    const double dChanges = dChangesCableMs + dChangesCpuMs;
    std::printf("largest project: %zu sections\n", doc.GetSectionList().size());
    std::printf("Send project: %d messages, %.1f s on the cable + %.2f ms processor\n",
                nProjectMessages, dProjectCableMs / 1e3, dProjectCpuMs);
    std::printf("Send changes: %d messages, %.2f ms on the cable + %.2f ms processor\n",
                nChangeMessages, dChangesCableMs, dChangesCpuMs);
    std::printf("counting the values to send (status bar): %.3f ms\n", dCountMs);
    std::printf("ratio Send changes / Send project: %.5f %% (goal: < 1 %%)\n",
                100.0 * dChanges / dProject);
    return dChanges < dProject / 100 ? 0 : 1;
}
