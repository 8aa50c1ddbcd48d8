#include "LocalTime.h"

#include <ctime>

namespace vantor {

LocalDateTime localNow() { return localTimeOf(static_cast<int64_t>(std::time(nullptr))); }

LocalDateTime localTimeOf(int64_t secondsSince1970)
{
    const auto when = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace vantor
