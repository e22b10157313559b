#include "ui/core/live_field.h"

#include <exception>
#include <utility>

namespace quorvel {

LiveField::LiveField(Compute compute, Deliver deliver, std::chrono::milliseconds pause)
    : compute_(std::move(compute)), deliver_(std::move(deliver)), schedule_(pause) {
    worker_ = std::jthread([this](std::stop_token stop) { Work(stop); });
}

LiveField::~LiveField() {
    worker_.request_stop();
    wake_.notify_all();
}

FieldSchedule::Generation LiveField::Edit(std::shared_ptr<const project::Project> project,
                                          Folder folder) {
    FieldSchedule::Generation generation = 0;
    {
        const std::lock_guard lock(mutex_);
        generation = schedule_.Edit(FieldSchedule::Clock::now(), project != nullptr);
        latest_ = std::move(project);
        latestFolder_ = std::move(folder);
    }
    wake_.notify_all();
    return generation;
}

bool LiveField::IsCurrent(FieldSchedule::Generation generation) const {
    const std::lock_guard lock(mutex_);
    return schedule_.IsCurrent(generation);
}

bool LiveField::Busy() const {
    const std::lock_guard lock(mutex_);
    return schedule_.Busy();
}

void LiveField::Work(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        const std::optional<FieldSchedule::Generation> started =
            schedule_.Start(FieldSchedule::Clock::now());
        if (!started) {
            if (const auto due = schedule_.Due()) {
                wake_.wait_until(lock, stop, *due, [] { return false; });
            } else {
                // Woken by an edit or the stop.
                const FieldSchedule::Generation seen = schedule_.Latest();
                wake_.wait(lock, stop, [&] { return schedule_.Latest() != seen; });
            }
            continue;
        }
        std::shared_ptr<const project::Project> project = latest_;
        const Folder folder = latestFolder_;
        lock.unlock();
        std::shared_ptr<const project::FieldResult> field;
        try {
            field = std::make_shared<const project::FieldResult>(compute_(*project, folder));
        } catch (const std::exception&) {
            // Out of memory and the like: this edit has no field; the next may.
        }
        lock.lock();
        if (schedule_.Finish(*started) && field && !stop.stop_requested()) {
            lock.unlock();
            deliver_(*started, std::move(project), std::move(field));
            lock.lock();
        }
    }
}

}  // namespace quorvel
