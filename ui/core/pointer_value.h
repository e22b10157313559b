#pragma once
// The combined concentration under the plan's pointer, computed on a thread
// of its own through the field's own function (the same search the field
// uses, not read off a grid), so that moving the pointer never waits for it.
// Only the latest point asked is computed; points asked meanwhile are
// skipped. The fields (field files read) are prepared once per field set.

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "calc/project/field/project_fields.h"
#include "calc/project/project.h"

namespace quorvel {

// After a pollutant's name where its field file does not reach the pointer.
inline constexpr char16_t kOutsideFieldFileText[] = u"：不在浓度场文件范围内";

class PointerValue {
  public:
    // Takes the text for the point asked last (called on the value's thread):
    // "非甲烷总烃 1234 µg/m³，占标率 61.70%"; for all pollutants each one's
    // share of its standard, "非甲烷总烃 61.70%，苯 12.00%"; a pollutant whose
    // field file does not reach the point, "非甲烷总烃：不在浓度场文件范围内";
    // empty when the pointer left the plan or there is no field.
    using Deliver = std::function<void(std::u16string text)>;

    explicit PointerValue(Deliver deliver);
    // Waits for a value being computed.
    ~PointerValue();
    PointerValue(const PointerValue&) = delete;
    PointerValue& operator=(const PointerValue&) = delete;

    // The field to read: the project it was computed for (null: none), the
    // folder its relative field files lie in (nullopt: not saved yet) and the
    // pollutant chosen (UTF-8; empty: all).
    void SetField(std::shared_ptr<const project::Project> project,
                  std::optional<std::filesystem::path> folder, std::string pollutant);
    // The pointer is at `point` (site m); nullopt when it left the plan.
    void Ask(std::optional<project::SitePoint> point);

  private:
    struct Request {
        std::shared_ptr<const project::Project> project;
        std::optional<std::filesystem::path> folder;
        std::string pollutant;
        std::optional<project::SitePoint> point;
    };
    void Work(std::stop_token stop);

    Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    Request request_;
    bool asked_ = false;
    // Used on the value's thread only: the fields of `preparedFor`.
    Request preparedFor_;
    std::unique_ptr<project::ProjectFields> prepared_;
    // Last, so that it is stopped and joined before the rest goes.
    std::jthread worker_;
};

// The text PointerValue delivers at `point` (site m) for the fields
// `prepared` of their project, computed on the calling thread; `pollutant`
// UTF-8, empty for all.
std::u16string PointerValueText(const project::ProjectFields& prepared,
                                const std::string& pollutant, project::SitePoint point);

}  // namespace quorvel
