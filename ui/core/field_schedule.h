#pragma once
// When the project window computes the combined field again: the decisions
// only, without threads or timers, so that they can be fed events and times.
//
// Every edit that changes the field gives a new generation and waits for
// typing to pause; then one computation at a time starts for the latest
// generation. A computation whose generation is no longer the latest when it
// comes back is stale: its result is dropped and the latest generation is
// computed next.

#include <chrono>
#include <cstdint>
#include <optional>

namespace quorvel {

// How long typing must pause before the field is computed again.
inline constexpr std::chrono::milliseconds kFieldPause{300};

class FieldSchedule {
  public:
    using Clock = std::chrono::steady_clock;
    using Generation = std::uint64_t;

    // pause: from the last edit to the start of its computation, >= 0.
    explicit FieldSchedule(std::chrono::milliseconds pause = kFieldPause) : pause_(pause) {}

    // An edit at `now`; returns its generation (1 for the first edit, then one
    // more each time). `computable` false: the project cannot be computed as
    // it stands (a cell that cannot be used), so nothing waits for it; a
    // computation still running becomes stale all the same.
    Generation Edit(Clock::time_point now, bool computable = true);

    // The generation to compute from `now` on, once its pause is over and no
    // computation is running; nullopt otherwise. Marks it running.
    std::optional<Generation> Start(Clock::time_point now);

    // When Start will next give a generation: nullopt while nothing waits or
    // a computation runs (its end decides).
    std::optional<Clock::time_point> Due() const;

    // The computation of `generation` came back; true when its result stands
    // for the project as it is (the latest generation), false when it is stale.
    bool Finish(Generation generation);

    // True while `generation` is the latest one.
    bool IsCurrent(Generation generation) const { return generation == latest_; }
    Generation Latest() const { return latest_; }
    // A computation is running (maybe a stale one).
    bool Running() const { return running_.has_value(); }
    // The latest generation has not come back yet: waiting for its pause or
    // being computed. False when it cannot be computed.
    bool Busy() const { return waiting_ || running_ == latest_; }

  private:
    std::chrono::milliseconds pause_;
    Generation latest_ = 0;
    bool waiting_ = false;  // the latest generation waits to be started
    Clock::time_point due_{};
    std::optional<Generation> running_;
};

}  // namespace quorvel
