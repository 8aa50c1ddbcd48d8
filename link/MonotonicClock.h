#pragma once

#include <chrono>
#include <cstdint>

namespace vantor {

// Milliseconds from a clock that never jumps with the wall-clock time.
inline int64_t MonotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vantor
