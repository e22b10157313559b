#pragma once
// The platform's thread-safe conversion of a moment to the local calendar.

#include <ctime>

namespace quorvel {

// Fills `local` with the calendar fields of `moment` in the computer's time
// zone; false when the moment cannot be converted.
bool ToLocalCalendar(std::time_t moment, std::tm& local);

}  // namespace quorvel
