#include "calc/local_time.h"

#include <ctime>

namespace quorvel {

LocalTime LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    if (now == static_cast<std::time_t>(-1)) return {};
    // One thread reads the clock; the shared buffer of localtime is safe here.
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) return {};
    return LocalTime{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                     local->tm_hour,        local->tm_min,     local->tm_sec};
}

}  // namespace quorvel
