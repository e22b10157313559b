#pragma once

#include <cstdint>
#include <filesystem>

#include "calc/project/project.h"
#include "calc/project/sheet/plan_picture.h"
#include "calc/result.h"

namespace quorvel::project {

// The largest plan picture taken, bytes: a sheet embeds it whole.
inline constexpr std::uintmax_t kLargestPlanPicture = 32u * 1024u * 1024u;

// Reads the plan's picture: `plan.image` (UTF-8) relative to `projectFolder`,
// the folder of the project file, unless it is absolute. A Chinese error
// text naming the file when it is missing, unreadable, larger than
// kLargestPlanPicture or not a PNG or JPEG picture.
Result<PlanPicture> LoadPlanPicture(const std::filesystem::path& projectFolder, const Plan& plan);

}  // namespace quorvel::project
