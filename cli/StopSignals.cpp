#include "StopSignals.h"

#include <atomic>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace Cli {

namespace {

std::atomic<int> g_nStopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnStopSignal(int nSignal) {
    g_nStopSignal.store(nSignal);
}

constexpr std::array kStopSignals{
    SIGINT,
    SIGTERM,
#ifdef SIGHUP
    SIGHUP,
#endif
};

} // namespace

int StopSignal() {
    return g_nStopSignal.load();
}

const char* SignalName(int nSignal) {
    switch (nSignal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
#ifdef SIGHUP
    case SIGHUP:
        return "SIGHUP";
#endif
    default:
        return "a signal";
    }
}

CStopSignals::CStopSignals() {
    static_assert(kStopSignals.size() <= std::tuple_size_v<decltype(m_previous)>);
    g_nStopSignal.store(0);
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        m_previous[i] = std::signal(kStopSignals[i], OnStopSignal);
}

CStopSignals::~CStopSignals() {
    for (std::size_t i = 0; i < kStopSignals.size(); ++i)
        std::signal(kStopSignals[i], m_previous[i] == SIG_ERR ? SIG_DFL : m_previous[i]);
}

bool StderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

} // namespace Cli
