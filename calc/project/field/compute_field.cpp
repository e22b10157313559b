#include "calc/project/field/compute_field.h"

#include <cmath>
#include <exception>
#include <numbers>

#include "calc/project/field/field_setup.h"
#include "calc/project/field/screening_function.h"

namespace quorvel::project {
namespace {

// The corners of each source's rectangle.
std::vector<SitePoint> Corners(const FieldSetup& setup) {
    std::vector<SitePoint> corners;
    for (const FieldSource& s : setup.sources) {
        const double angle = s.larger_angle * std::numbers::pi / 180.0;
        const double a = 0.5 * s.area.larger_side;
        const double b = 0.5 * s.area.smaller_side;
        for (const auto& [u, v] : {std::pair{a, b}, {a, -b}, {-a, b}, {-a, -b}}) {
            corners.push_back({s.centre.x + u * std::cos(angle) - v * std::sin(angle),
                               s.centre.y + u * std::sin(angle) + v * std::cos(angle)});
        }
    }
    return corners;
}

}  // namespace

FieldResult ComputeField(const Project& project, const RuleSettings& settings) {
    const FieldSetup setup = SetUpField(project);
    const ScreeningFunction function(setup);
    std::vector<RuleField> fields;
    for (std::size_t k : function.Pollutants()) {
        fields.push_back({setup.pollutants[k].pollutant, *setup.pollutants[k].standard});
    }
    FieldResult rule;
    try {
        rule = ApplyCurrentRule(function, fields, project.boundary, project.receptors,
                                Corners(setup), settings);
    } catch (const std::exception&) {
        // The polygons' overlay can fail on a rare coincidence of points.
        rule = {};
        for (const RuleField& f : fields) {
            PollutantFieldResult failed;
            failed.pollutant = f.pollutant;
            failed.standard = f.standard;
            failed.final = false;
            failed.error =
                u"叠加浓度场的几何计算失败（多边形叠置出错），请稍改厂界或排放源位置后重算";
            rule.pollutants.push_back(std::move(failed));
        }
    }

    FieldResult result = rule;
    result.method = "screening";
    result.pollutants.clear();
    std::size_t next = 0;
    for (const PollutantSetup& p : setup.pollutants) {
        if (!p.error.empty()) {
            PollutantFieldResult failed;
            failed.pollutant = p.pollutant;
            failed.final = false;
            failed.error = p.error;
            failed.note = p.note;
            result.pollutants.push_back(std::move(failed));
            continue;
        }
        PollutantFieldResult computed = std::move(rule.pollutants[next++]);
        if (!p.note.empty()) {
            computed.final = false;
            computed.note = computed.note.empty() ? p.note : computed.note + u"；" + p.note;
        }
        result.pollutants.push_back(std::move(computed));
    }
    return result;
}

}  // namespace quorvel::project
