#pragma once

#include <array>
#include <csignal>

// Ctrl-C, a kill and the terminal going away stop a command that talks to a port the orderly
// way: the handler only notes the signal, and the command's event loop looks at it, since
// almost nothing is safe to do inside a handler.
namespace Cli {

constexpr int kExitInterrupted = 130;

// The signal that asked us to stop, 0 while none did.
int StopSignal();
// "SIGINT", "SIGTERM", "SIGHUP".
const char* SignalName(int nSignal);

// Whether stderr is a terminal, where a progress line may rewrite itself.
bool StderrIsTerminal();

// Catches the stop signals for its lifetime and puts the previous handlers back after.
class CStopSignals {
public:
    CStopSignals();
    ~CStopSignals();
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

private:
    std::array<void (*)(int), 3> m_previous{};
};

} // namespace Cli
