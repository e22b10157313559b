#include "calc/platform/local_calendar.h"

namespace quorvel {

bool ToLocalCalendar(std::time_t moment, std::tm& local) {
    return localtime_r(&moment, &local) != nullptr;
}

}  // namespace quorvel
