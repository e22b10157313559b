#pragma once
// The combined field computed again in the background as the project is
// edited, on a thread of its own, by FieldSchedule's decisions: after the
// pause in typing, one computation at a time, stale results dropped. Nothing
// here waits on the UI thread but the destructor, which waits for a
// computation that is running to end.

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "ui/core/field_schedule.h"

namespace quorvel {

class LiveField {
  public:
    // Where the project's relative field files lie: its file's folder, or
    // nullopt for a project not saved yet.
    using Folder = std::optional<std::filesystem::path>;
    // Computes the field of a project (ComputeField, or a stand-in in tests).
    using Compute = std::function<project::FieldResult(const project::Project&, const Folder&)>;
    // Takes a result of the latest generation when it was computed: called on
    // the field's thread, so it posts the result to the UI thread, where
    // IsCurrent tells whether an edit has come since.
    using Deliver = std::function<void(FieldSchedule::Generation generation,
                                       std::shared_ptr<const project::Project> project,
                                       std::shared_ptr<const project::FieldResult> field)>;

    LiveField(Compute compute, Deliver deliver, std::chrono::milliseconds pause = kFieldPause);
    // Drops what waits and waits for a running computation to end.
    ~LiveField();
    LiveField(const LiveField&) = delete;
    LiveField& operator=(const LiveField&) = delete;

    // The field's project or its folder changed: null when it cannot be
    // computed as it stands. Returns the edit's generation.
    FieldSchedule::Generation Edit(std::shared_ptr<const project::Project> project,
                                   Folder folder = std::nullopt);
    // True while no edit has come after `generation`.
    bool IsCurrent(FieldSchedule::Generation generation) const;
    // The latest edit's field is still to come (waiting for the pause or
    // being computed).
    bool Busy() const;

  private:
    void Work(std::stop_token stop);

    Compute compute_;
    Deliver deliver_;
    mutable std::mutex mutex_;
    std::condition_variable_any wake_;
    FieldSchedule schedule_;
    std::shared_ptr<const project::Project> latest_;  // the latest edit's project
    Folder latestFolder_;                             // and its folder
    // Last, so that it is stopped and joined before the rest goes.
    std::jthread worker_;
};

}  // namespace quorvel
