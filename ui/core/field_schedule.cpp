#include "ui/core/field_schedule.h"

namespace quorvel {

FieldSchedule::Generation FieldSchedule::Edit(Clock::time_point now, bool computable) {
    ++latest_;
    waiting_ = computable;
    due_ = now + pause_;
    return latest_;
}

std::optional<FieldSchedule::Generation> FieldSchedule::Start(Clock::time_point now) {
    if (!waiting_ || running_ || now < due_) return std::nullopt;
    waiting_ = false;
    running_ = latest_;
    return latest_;
}

std::optional<FieldSchedule::Clock::time_point> FieldSchedule::Due() const {
    if (!waiting_ || running_) return std::nullopt;
    return due_;
}

bool FieldSchedule::Finish(Generation generation) {
    if (running_ == generation) running_.reset();
    return generation == latest_;
}

}  // namespace quorvel
