#pragma once
// The project's pollutant fields read from files, each with the standard its
// averaging period chooses.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calc/project/field/field_setup.h"
#include "calc/project/field/files/field_file.h"
#include "calc/project/project.h"

namespace quorvel::project {

struct FileFieldSetup {
    const FieldFile* entry = nullptr;  // the project's `fields` entry
    // Which of FieldSetup::pollutants it replaces; empty when no emission
    // names the pollutant.
    std::optional<std::size_t> pollutant;
    std::optional<FileField> field;  // when the file could be used
    std::optional<double> standard;  // S, ug/m^3: 1-HR the pollutant's S, 24-HR daily x 1000
    std::u16string error;            // why the field cannot be used; empty when it can
};

// Every `fields` entry of the project, in its order, its file read relative
// to `projectFolder`; nullopt for a project not saved yet, whose relative
// file names cannot be told where they lie (refused with that reason;
// absolute ones are read). A 1-HR field takes the pollutant's S of `setup`; a
// 24-HR field the daily standard x 1000, which all the pollutant's rows
// that give one must agree on; without one it is refused.
std::vector<FileFieldSetup> SetUpFileFields(
    const Project& project, const FieldSetup& setup,
    const std::optional<std::filesystem::path>& projectFolder);

}  // namespace quorvel::project
