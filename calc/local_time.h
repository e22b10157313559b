#pragma once

namespace quorvel {

// A moment as the computer's calendar and clock show it in its own time zone.
struct LocalTime {
    int year = 0;              // e.g. 2026
    int month = 0;             // 1 to 12
    int day = 0;               // 1 to 31
    int hour = 0;              // 0 to 23
    int minute = 0;            // 0 to 59
    int second = 0;            // 0 to 60 (a leap second)
    int utcOffsetMinutes = 0;  // local time minus UTC, e.g. 480 for UTC+8
};

// Now, to the second; all fields 0 when the clock cannot be read.
LocalTime LocalTimeNow();

}  // namespace quorvel
