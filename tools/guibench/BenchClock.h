#pragma once

#include <QtGlobal>

#include <chrono>

namespace BenchClock {

// Monotonic nanoseconds, comparable between processes of one machine.
inline qint64 Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace BenchClock
