// The computer's local date and time, as the instrument's clock and the
// reports take it.
#pragma once

#include <cstdint>

namespace vantor {

struct LocalDateTime {
    int year = 2000;
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

LocalDateTime localNow();
// The local date and time of a moment, in seconds since 1970.
LocalDateTime localTimeOf(int64_t secondsSince1970);

}  // namespace vantor
