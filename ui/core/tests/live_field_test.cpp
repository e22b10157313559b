// The live field on its thread with a stand-in computation: an edit's field
// comes after the pause, a computation overtaken by an edit is dropped, and
// destroying it while it computes waits for nothing but that computation.

#include "ui/core/live_field.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace quorvel {
namespace {

using std::chrono::milliseconds;

std::shared_ptr<const project::Project> ProjectNamed(const std::string& name) {
    project::Project project;
    project.name = name;
    return std::make_shared<const project::Project>(project);
}

// Records what the field's thread delivers and lets a test hold a computation.
struct Recorder {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> computed;   // the projects' names, as computing starts
    std::vector<std::string> delivered;  // the projects' names, as results arrive
    bool hold = false;                   // computations wait while true

    project::FieldResult Compute(const project::Project& project) {
        std::unique_lock lock(mutex);
        computed.push_back(project.name);
        changed.notify_all();
        changed.wait(lock, [&] { return !hold; });
        project::FieldResult field;
        field.method = project.name;
        return field;
    }
    void Deliver(const project::Project& project, const project::FieldResult& field) {
        const std::lock_guard lock(mutex);
        EXPECT_EQ(field.method, project.name);
        delivered.push_back(project.name);
        changed.notify_all();
    }
    // Waits (at most 20 s) until `done` holds under the lock.
    template <typename Done>
    bool WaitFor(Done done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20), [&] { return done(); });
    }
    void Release() {
        const std::lock_guard lock(mutex);
        hold = false;
        changed.notify_all();
    }
};

std::unique_ptr<LiveField> Live(Recorder& recorder, milliseconds pause) {
    return std::make_unique<LiveField>(
        [&recorder](const project::Project& p, const LiveField::Folder&) {
            return recorder.Compute(p);
        },
        [&recorder](FieldSchedule::Generation, std::shared_ptr<const project::Project> p,
                    std::shared_ptr<const project::FieldResult> f) { recorder.Deliver(*p, *f); },
        pause);
}

TEST(LiveFieldTest, ComputesTheLatestEditOnceTypingPauses) {
    Recorder recorder;
    auto live = Live(recorder, milliseconds(100));
    const auto started = std::chrono::steady_clock::now();
    live->Edit(ProjectNamed("a"));
    const FieldSchedule::Generation last = live->Edit(ProjectNamed("b"));
    EXPECT_TRUE(live->Busy());
    ASSERT_TRUE(recorder.WaitFor([&] { return !recorder.delivered.empty(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - started, milliseconds(100));
    EXPECT_EQ(recorder.computed, std::vector<std::string>{"b"});
    EXPECT_EQ(recorder.delivered, std::vector<std::string>{"b"});
    EXPECT_TRUE(live->IsCurrent(last));
    EXPECT_FALSE(live->Busy());
}

TEST(LiveFieldTest, DropsAComputationThatAnEditOvertook) {
    Recorder recorder;
    recorder.hold = true;
    auto live = Live(recorder, milliseconds(0));
    const FieldSchedule::Generation first = live->Edit(ProjectNamed("a"));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.computed.size() == 1; }));
    live->Edit(ProjectNamed("b"));  // while "a" is computed
    EXPECT_FALSE(live->IsCurrent(first));
    recorder.Release();
    ASSERT_TRUE(recorder.WaitFor([&] { return !recorder.delivered.empty(); }));
    EXPECT_EQ(recorder.computed, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(recorder.delivered, std::vector<std::string>{"b"});

    // A project that cannot be computed leaves nothing to wait for.
    live->Edit(nullptr);
    EXPECT_FALSE(live->Busy());
}

TEST(LiveFieldTest, GoesAwayWhileComputing) {
    Recorder recorder;
    recorder.hold = true;
    auto live = Live(recorder, milliseconds(0));
    live->Edit(ProjectNamed("a"));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.computed.size() == 1; }));
    std::thread release([&] {
        std::this_thread::sleep_for(milliseconds(50));
        recorder.Release();
    });
    live.reset();  // waits for the computation, delivers nothing
    release.join();
    EXPECT_TRUE(recorder.delivered.empty());
}

}  // namespace
}  // namespace quorvel
