// The project document at its largest (every kit and every instrument variation): save and load
// next to bare file writes and reads of the same bytes in the same run, and the cost of the
// variation store's search, of one enqueue on the transmit queue, and of one edit recorded for
// undo next to a save of the same project.
#include "CClap.h"
#include "CEditHistory.h"
#include "CCrsh.h"
#include "CHiHa.h"
#include "CHiTo.h"
#include "CKick.h"
#include "CKit.h"
#include "CLFOs.h"
#include "CLoTo.h"
#include "CMidiWnd.h"
#include "CQuenleyDoc.h"
#include "CRide.h"
#include "CRims.h"
#include "CSnar.h"
#include "CSysExFileDriver.h"
#include "ProjectFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One template section of each stored class, kits first, as FindOrCreateVariation takes them.
std::vector<std::unique_ptr<CSection>> MakeTemplates() {
    std::vector<std::unique_ptr<CSection>> v;
    v.push_back(std::make_unique<CKit>());
    v.push_back(std::make_unique<CKick>());
    v.push_back(std::make_unique<CSnar>());
    v.push_back(std::make_unique<CLoTo>());
    v.push_back(std::make_unique<CHiTo>());
    v.push_back(std::make_unique<CHiHa>());
    v.push_back(std::make_unique<CClap>());
    v.push_back(std::make_unique<CRims>());
    v.push_back(std::make_unique<CCrsh>());
    v.push_back(std::make_unique<CRide>());
    v.push_back(std::make_unique<CLFOs>());
    return v;
}

// Keeps every step, as the editor's undo stack does.
class CKeepingHistory : public CEditHistory {
public:
    void Record(const QString&, CProjectChange change, quint64) override {
        m_steps.push_back(std::move(change));
    }
    bool IsClean() const override { return m_steps.empty(); }
    void ProjectSaved() override {}
    void ProjectReplaced() override { m_steps.clear(); }
    std::vector<CProjectChange> m_steps;
};

[[noreturn]] void Die(const char* pszWhat) {
    std::fprintf(stderr, "modelbench: %s\n", pszWhat);
    std::exit(1);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int nRounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 50;

    const auto templates = MakeTemplates();
    CQuenleyDoc doc;
    for (const auto& pTemplate : templates)
        for (int n = 0; n < pTemplate->Info().nVariations; ++n)
            if (!doc.FindOrCreateVariation(pTemplate.get(), n))
                Die("cannot build the project");
    const CSection& kit = *templates[0];
    const std::size_t nSections = doc.GetSectionList().size();

    QTemporaryDir dir;
    if (!dir.isValid())
        Die("no temporary folder");
    const QString strProject = dir.filePath("project.qly");
    const QString strRaw = dir.filePath("raw.qly");
    QString strError;

    // Save and load, each round alternating with its floor so drift hits both alike.
    std::vector<double> save, saveFloor, load, loadFloor;
    qsizetype nBytes = 0;
    for (int r = 0; r < nRounds; ++r) {
        QElapsedTimer t;
        t.start();
        const QByteArray bytes = doc.SaveToBytes();
        if (!ProjectFile::Write(strProject, bytes, strError))
            Die("save failed");
        save.push_back(t.nsecsElapsed() / 1e6);
        nBytes = bytes.size();

        t.restart();
        QSaveFile raw(strRaw);
        if (!raw.open(QIODevice::WriteOnly) || raw.write(bytes) != bytes.size() || !raw.commit())
            Die("raw write failed");
        saveFloor.push_back(t.nsecsElapsed() / 1e6);

        CQuenleyDoc loaded;
        t.restart();
        QByteArray read;
        if (!ProjectFile::Read(strProject, read, strError) || !loaded.LoadFromBytes(read))
            Die("load failed");
        load.push_back(t.nsecsElapsed() / 1e6);
        if (loaded.GetSectionList().size() != nSections)
            Die("loaded project differs");

        t.restart();
        QFile in(strRaw);
        if (!in.open(QIODevice::ReadOnly) || in.readAll().size() != bytes.size())
            Die("raw read failed");
        loadFloor.push_back(t.nsecsElapsed() / 1e6);
    }

    std::printf("modelbench: %zu sections, %lld bytes, %d rounds (medians)\n", nSections,
                static_cast<long long>(nBytes), nRounds);
    std::printf("save  SaveToBytes+ProjectFile::Write %8.3f ms   QSaveFile alone %8.3f ms   "
                "ratio %.2f\n",
                Median(save), Median(saveFloor), Median(save) / Median(saveFloor));
    std::printf("load  ProjectFile::Read+LoadFromBytes %7.3f ms   QFile::readAll  %8.3f ms   "
                "ratio %.2f\n",
                Median(load), Median(loadFloor), Median(load) / Median(loadFloor));

    // The store: kits sit at the end of the list, so the last kit is the longest walk.
    constexpr int kCalls = 200;
    const int nLastKit = Kinds::kKitVariations - 1;
    std::vector<double> find, create;
    for (int r = 0; r < nRounds; ++r) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < kCalls; ++i)
            if (!doc.FindOrCreateVariation(&kit, nLastKit))
                Die("kit missing");
        find.push_back(static_cast<double>(t.nsecsElapsed()) / kCalls);

        for (int n = nLastKit - kCalls + 1; n <= nLastKit; ++n)
            doc.RemoveVariation(doc.FindVariation(&kit, n));
        t.restart();
        for (int n = nLastKit - kCalls + 1; n <= nLastKit; ++n)
            if (!doc.FindOrCreateVariation(&kit, n))
                Die("kit not made");
        create.push_back(static_cast<double>(t.nsecsElapsed()) / kCalls);
    }
    std::printf("store FindOrCreateVariation, existing kit %d: %9.0f ns/call\n", nLastKit,
                Median(find));
    std::printf("store FindOrCreateVariation, new kit near the end: %6.0f ns/call\n",
                Median(create));

    // One knob step as the editor makes it: the whole project compared before and after.
    doc.SetHistory(std::make_unique<CKeepingHistory>());
    CSection* pFirstKit = doc.FindVariation(&kit, 0);
    std::vector<double> edit, editFloor;
    for (int r = 0; r < nRounds; ++r) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 20; ++i) {
            doc.BeginEdit();
            pFirstKit->SetParam(18, (r * 20 + i) & 0x7F);
            doc.EndEdit(QStringLiteral("%1 Level"));
        }
        edit.push_back(t.nsecsElapsed() / 20e6);
        t.restart();
        if (doc.SaveToBytes().isEmpty())
            Die("save failed");
        editFloor.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("undo  one recorded edit %8.3f ms   SaveToBytes %8.3f ms   ratio %.2f "
                "(goal <= 0.5)\n",
                Median(edit), Median(editFloor), Median(edit) / Median(editFloor));

    // Enqueue with the port closed: messages collect and nothing is sent.
    QObject frame;
    CMidiWnd wnd(std::make_unique<CSysExFileDriver>(dir.filePath("out.syx")));
    if (!wnd.Create(&frame) || !wnd.DMidiOutInit())
        Die("no transmit window");
    const CKick kickTemplate;
    std::vector<std::unique_ptr<CSection>> kicks;
    for (int n = 0; n < Kinds::kInstrumentVariations; ++n) {
        kicks.emplace_back(kickTemplate.CreateVariation(n));
        kicks.back()->SetTransmitQueue(&wnd);
    }
    const int nKickParams = kicks[0]->GetParamCount();
    const int nDistinct = Kinds::kInstrumentVariations * nKickParams;

    std::vector<double> same, distinct;
    int nSameLength = 0;
    for (int r = 0; r < nRounds; ++r) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < nDistinct; ++i)
            kicks[0]->SetParam(3, i & 0x7F);
        same.push_back(static_cast<double>(t.nsecsElapsed()) / nDistinct);
        nSameLength = wnd.QueueLength();
        wnd.DestroySysExList();

        t.restart();
        for (int i = 0; i < nDistinct; ++i)
            kicks[static_cast<std::size_t>(i / nKickParams)]->SetParam(i % nKickParams, i & 0x7F);
        distinct.push_back(static_cast<double>(t.nsecsElapsed()) / nDistinct);
        if (wnd.QueueLength() != nDistinct)
            Die("distinct parameters replaced each other");
        wnd.DestroySysExList();
    }
    std::printf("queue SetParam, same parameter %d times: %9.0f ns/call (queue stays %d)\n",
                nDistinct, Median(same), nSameLength);
    std::printf("queue SetParam, %d distinct parameters: %7.0f ns/call (queue grows to %d)\n",
                nDistinct, Median(distinct), nDistinct);
    return 0;
}
