#pragma once
// The project file (.qvproj): JSON in UTF-8 in one fixed layout
// (docs/example.qvproj is one). Reading refuses a file that cannot be
// used (not JSON, another format, a newer version, a member of the wrong
// type, duplicate or empty source ids, a boundary that crosses itself, an
// unknown location or unit, a plan without two points) with a Chinese message
// that names the place; faults of single rows (values of 0 or less, side
// ratios, missing standards, unknown sources, repeated pollutants) are left
// to EmissionInputs. Members the program does not know are kept in the
// model's `unknown` texts and written back after the known ones.

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel::project {

inline constexpr char kProjectFormat[] = "quorvel-project";
inline constexpr int kProjectVersion = 1;
inline constexpr char16_t kProjectExtension[] = u".qvproj";

// A project from the bytes of a project file (a UTF-8 byte-order mark is
// skipped), or why the file cannot be used.
Result<Project> ReadProject(std::string_view fileBytes);

// The project file at `file`, or why it cannot be read or used (the message
// names the file).
Result<Project> OpenProject(const std::filesystem::path& file);

// The bytes of the project's file: UTF-8 without a byte-order mark, two-space
// indentation, the members in their fixed order followed by the unknown
// ones, numbers in their shortest exact form, a line feed at the end.
// Reading them gives the project again.
std::string ProjectJson(const Project& project);

// Writes ProjectJson(project) to `file`, replacing an existing file only once
// the new content is on the disk (WriteFileAtomically).
Status SaveProject(const std::filesystem::path& file, const Project& project);

}  // namespace quorvel::project
