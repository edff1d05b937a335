// Latency from enqueue to arrival at a JACK receiver for single 10-byte messages, next to a bare
// RtMidi send to the same receiver measured in the same run. Needs a running JACK server (see
// tools/bench-midi.sh).
#include "CJackReceiver.h"
#include "CMidiWnd.h"
#include "CSysExItem.h"

#include <RtMidi.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

namespace {

const std::uint8_t kMessage[10] = {0xF0, 0x31, 0x3E, 0x56, 0x00, 0x00, 0x0C, 0x01, 0x48, 0xF7};

struct Stats {
    double dMedian, dP95;
};

Stats Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, std::size_t(q * (v.size() - 1)))]; };
    return {at(0.5), at(0.95)};
}

// Waits for the receiver to hold n events while letting the event loop run; false on timeout.
bool AwaitArrival(CJackReceiver& receiver, std::size_t n) {
    QElapsedTimer clock;
    clock.start();
    while (receiver.Count() < n) {
        if (clock.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents();
        // Polling without a pause would starve the JACK threads on a small machine.
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int nRounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;

    CJackReceiver receiver;
    QString strWhy;
    if (!receiver.Start("quenley-bench-recv", strWhy)) {
        std::fprintf(stderr, "midibench: %s\n", qPrintable(strWhy));
        return 1;
    }

    // The editor's path: queue, send loop, driver layer, worker thread, RtMidi.
    QObject frame;
    CMidiWnd wnd;
    wnd.Create(&frame);
    wnd.DMidiOutInit();
    for (std::uint32_t i = 0; i < wnd.GetNumDevs(); ++i)
        if (receiver.PortName() == QString::fromUtf8(wnd.GetDeviceName(i)))
            wnd.SetMidiDevice(i);
    wnd.SetMidiChannel(0);
    if (!wnd.IsReady() || !wnd.DMidiOutActivate()) {
        std::fprintf(stderr, "midibench: cannot open %s through the editor's MIDI link\n",
                     qPrintable(receiver.PortName()));
        return 1;
    }
    while (wnd.IsClosed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);

    // The floor: RtMidi alone, the same back end, the same receiver.
    RtMidiOut bare(RtMidi::UNIX_JACK, "quenley-bench-bare");
    unsigned nBarePort = bare.getPortCount();
    for (unsigned i = 0; i < bare.getPortCount(); ++i)
        if (QString::fromStdString(bare.getPortName(i)) == receiver.PortName())
            nBarePort = i;
    if (nBarePort == bare.getPortCount()) {
        std::fprintf(stderr, "midibench: receiver not found by RtMidi\n");
        return 1;
    }
    bare.openPort(nBarePort, "out");

    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    receiver.Clear();
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> gap(6000, 12000); // µs, so arrivals fall on any phase
    std::vector<double> appLatency, bareLatency;
    for (int r = 0; r < nRounds; ++r) {
        for (int path = 0; path < 2; ++path) { // interleaved, so drift hits both alike
            std::this_thread::sleep_for(std::chrono::microseconds(gap(random)));
            QCoreApplication::processEvents();
            const std::size_t nBefore = receiver.Count();
            const std::uint64_t t0 = receiver.Now();
            if (path == 0) {
                auto pItem = CSysExItem::New();
                pItem->nSection = 2;
                pItem->nVariation = r;
                pItem->nParam = 3;
                pItem->nLength = sizeof kMessage;
                pItem->pBuffer = std::make_unique<std::uint8_t[]>(sizeof kMessage);
                std::memcpy(pItem->pBuffer.get(), kMessage, sizeof kMessage);
                wnd.AddSysExBuffer(std::move(pItem));
            } else {
                bare.sendMessage(kMessage, sizeof kMessage);
            }
            if (!AwaitArrival(receiver, nBefore + 1)) {
                std::fprintf(stderr, "midibench: message %d by the %s path did not arrive\n", r,
                             path == 0 ? "editor" : "bare");
                return 1;
            }
            const double dMicros = double(receiver.Events()[nBefore].nMicros) - double(t0);
            (path == 0 ? appLatency : bareLatency).push_back(dMicros);
        }
        // Let the send loop finish with the message, so every round starts idle.
        while (!wnd.IsIdle()) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    wnd.DMidiOutDeactivate();

    const Stats a = Summarise(appLatency), b = Summarise(bareLatency);
    std::printf("single 10-byte messages, %d each, JACK period %.0f us\n", nRounds,
                receiver.PeriodMicros());
    std::printf("  bare RtMidi : median %8.1f us   p95 %8.1f us\n", b.dMedian, b.dP95);
    std::printf("  Quenley     : median %8.1f us   p95 %8.1f us\n", a.dMedian, a.dP95);
    std::printf("  ratio       : median %8.2f      p95 %8.2f      (goal <= 1.2)\n",
                a.dMedian / b.dMedian, a.dP95 / b.dP95);
    return 0;
}
