#pragma once

#include <chrono>
#include <cstdint>

namespace vantor {

// Milliseconds from a clock that never jumps with the wall-clock time.
inline int64_t monotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Microseconds from the same clock, for deadlines that must never fall short.
inline int64_t monotonicUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vantor
