#pragma once
// The fields of a project's pollutants as the rule takes them: the screening
// field, or the field of a file where the project's `fields` names one.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "calc/project/field/current_rule.h"
#include "calc/project/field/field_function.h"
#include "calc/project/field/field_setup.h"
#include "calc/project/field/file_field_setup.h"
#include "calc/project/field/file_function.h"
#include "calc/project/field/screening_function.h"
#include "calc/project/project.h"

namespace quorvel::project {

// Field i of the rule from either the screening function or the files.
struct FieldRoute {
    bool file = false;
    std::size_t index = 0;  // in that function
};

// Routes each field to the screening function or the file function.
class MixedFunction final : public FieldFunction {
  public:
    MixedFunction(const FieldFunction& screening, const FieldFunction& files,
                  std::vector<FieldRoute> routes)
        : screening_(screening), files_(files), routes_(std::move(routes)) {}

    std::size_t Count() const override { return routes_.size(); }
    std::vector<FieldValue> At(const SitePoint& point,
                               const std::vector<std::size_t>& which) const override;
    double Bound(const SitePoint& point, std::size_t which) const override;
    bool Covers(const SitePoint& point, std::size_t which) const override;

  private:
    const FieldFunction& screening_;
    const FieldFunction& files_;
    std::vector<FieldRoute> routes_;
};

// Everything the rule and the field's export need, made once. It refers to
// the project's `fields` entries: the project must outlive it.
struct ProjectFields {
    FieldSetup setup;
    std::vector<FileFieldSetup> files;  // per `fields` entry
    // Per setup.pollutants: its file entry (nullptr for the screening field)
    // and its index among the rule's fields (empty when it is not computed).
    std::vector<const FileFieldSetup*> fileOf;
    std::vector<std::optional<std::size_t>> ruleIndex;
    std::vector<RuleField> fields;  // the rule's fields
    std::vector<SitePoint> cover;   // the points the rule's frame must hold
    std::unique_ptr<ScreeningFunction> screening;
    std::unique_ptr<FileFunction> fileFunction;
    std::unique_ptr<MixedFunction> function;  // field i is fields[i]
};

// The fields of `project`, field files read relative to `projectFolder`
// (nullopt: a project not saved yet, see SetUpFileFields).
std::unique_ptr<ProjectFields> PrepareFields(
    const Project& project, const std::optional<std::filesystem::path>& projectFolder);

}  // namespace quorvel::project
