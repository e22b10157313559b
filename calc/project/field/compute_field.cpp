#include "calc/project/field/compute_field.h"

#include <algorithm>
#include <exception>

#include "calc/project/field/project_fields.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

// Exceedance vertices this close (m) to where a file's grids end reach their edge.
constexpr double kNearGridEdge = 1.0;

std::u16string Joined(const std::u16string& a, const std::u16string& b) {
    return a.empty() ? b : b.empty() ? a : a + u"；" + b;
}

FieldOrigin OriginOf(const FieldFile& entry, const FileField& field) {
    FieldOrigin origin{entry.file, field.format, field.average, {}};
    for (const FileGrid& g : field.grids) {
        origin.grids.push_back({g.minX, g.minY, g.stepX, g.stepY, g.columns, g.rows});
    }
    return origin;
}

// True when a vertex of the exceedance lies where the file's grids end.
bool ReachesGridEdge(const PollutantFieldResult& p, const FieldFunction& function, std::size_t k) {
    auto nearEdge = [&](const SitePoint& v) {
        for (const auto& [dx, dy] : {std::pair{1.0, 0.0}, {-1.0, 0.0}, {0.0, 1.0}, {0.0, -1.0}}) {
            if (!function.Covers({v.x + dx * kNearGridEdge, v.y + dy * kNearGridEdge}, k))
                return true;
        }
        return false;
    };
    for (const ZonePolygon& polygon : p.exceedance) {
        if (std::any_of(polygon.outer.begin(), polygon.outer.end(), nearEdge)) return true;
        for (const auto& hole : polygon.holes) {
            if (std::any_of(hole.begin(), hole.end(), nearEdge)) return true;
        }
    }
    return false;
}

PollutantFieldResult Failed(const std::string& pollutant, std::u16string error) {
    PollutantFieldResult failed;
    failed.pollutant = pollutant;
    failed.final = false;
    failed.error = std::move(error);
    return failed;
}

}  // namespace

FieldResult ComputeField(const Project& project,
                         const std::optional<std::filesystem::path>& projectFolder,
                         const RuleSettings& settings) {
    return ComputeField(project, *PrepareFields(project, projectFolder), settings);
}

FieldResult ComputeField(const Project& project, const ProjectFields& prepared,
                         const RuleSettings& settings) {
    const FieldSetup& setup = prepared.setup;
    const std::vector<std::optional<std::size_t>>& ruleIndex = prepared.ruleIndex;
    const std::vector<const FileFieldSetup*>& fileOf = prepared.fileOf;
    const std::vector<RuleField>& fields = prepared.fields;
    const FieldFunction& function = *prepared.function;

    FieldResult rule;
    try {
        rule = ApplyCurrentRule(function, fields, project.boundary, project.receptors,
                                prepared.cover, settings);
    } catch (const std::exception&) {
        // The polygons' overlay can fail on a rare coincidence of points.
        rule = {};
        for (const RuleField& f : fields) {
            PollutantFieldResult failed =
                Failed(f.pollutant,
                       u"叠加浓度场的几何计算失败（多边形叠置出错），请稍改厂界或排放源位置后重算");
            failed.standard = f.standard;
            rule.pollutants.push_back(std::move(failed));
        }
    }

    FieldResult result = rule;
    result.pollutants.clear();
    std::size_t fromFiles = 0;
    for (std::size_t k = 0; k < setup.pollutants.size(); ++k) {
        const PollutantSetup& p = setup.pollutants[k];
        const FileFieldSetup* file = fileOf[k];
        if (file != nullptr) ++fromFiles;
        if (!ruleIndex[k]) {
            PollutantFieldResult failed =
                Failed(p.pollutant, file != nullptr ? file->error : p.error);
            if (file != nullptr) {
                failed.source = file->entry->file;
            } else {
                failed.note = p.note;
            }
            result.pollutants.push_back(std::move(failed));
            continue;
        }
        const std::size_t i = *ruleIndex[k];
        PollutantFieldResult computed = std::move(rule.pollutants[i]);
        if (file == nullptr) {
            if (!p.note.empty()) {
                computed.final = false;
                computed.note = Joined(computed.note, p.note);
            }
            result.pollutants.push_back(std::move(computed));
            continue;
        }
        computed.source = file->entry->file;
        computed.origin = OriginOf(*file->entry, *file->field);
        if (computed.error.empty() && ReachesGridEdge(computed, function, i)) {
            computed.final = false;
            computed.note = Joined(computed.note,
                                   u"超标区域达到浓度场文件网格的边缘，文件的浓度场未覆盖其外，"
                                   u"结果不完整");
        }
        computed.note = Joined(computed.note, file->field->note);
        // Receptors outside the grids have no value of this field.
        std::u16string outside;
        for (std::size_t r = 0; r < result.receptors.size(); ++r) {
            auto& list = result.receptors[r].pollutants;
            const auto gone = std::find_if(
                list.begin(), list.end(),
                [&](const ReceptorPollutant& q) { return q.pollutant == p.pollutant; });
            if (gone == list.end() || function.Covers(project.receptors[r].position, i)) continue;
            list.erase(gone);
            outside += (outside.empty() ? u"" : u"、") + FromUtf8(project.receptors[r].name);
        }
        if (!outside.empty()) {
            computed.note = Joined(
                computed.note, u"敏感目标 " + outside + u" 不在浓度场文件的网格内，未给出其浓度");
        }
        result.pollutants.push_back(std::move(computed));
    }
    for (const FileFieldSetup& f : prepared.files) {
        if (f.pollutant) continue;
        PollutantFieldResult failed = Failed(f.entry->pollutant, f.error);
        failed.source = f.entry->file;
        result.pollutants.push_back(std::move(failed));
        ++fromFiles;
    }
    result.method = fromFiles == 0                          ? "screening"
                    : fromFiles == result.pollutants.size() ? "file"
                                                            : "mixed";
    return result;
}

FieldResult ComputeField(const Project& project, const RuleSettings& settings) {
    return ComputeField(project, std::filesystem::path(), settings);
}

}  // namespace quorvel::project
