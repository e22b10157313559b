#include "calc/project/field/field_setup.h"

#include <algorithm>

#include "calc/derived_quantities.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/shortest_number.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::u16string Quoted(const std::string& utf8) { return u"“" + FromUtf8(utf8) + u"”"; }
std::u16string Shortest(double value) { return FromUtf8(ShortestNumber(value)); }

struct CountedRow {
    std::size_t row = 0;
    double standard = 0.0;  // ug/m^3
    double perArea = 0.0;   // g/(s m^2)
    AreaSource area;
};

}  // namespace

FieldSetup SetUpField(const Project& project) {
    FieldSetup setup;
    setup.landUse = project.location == Location::Rural ? LandUse::Rural : LandUse::Urban;
    std::vector<std::string> names;
    std::vector<std::vector<CountedRow>> counted;
    std::vector<std::vector<std::size_t>> faulty;
    for (std::size_t i = 0; i < project.emissions.size(); ++i) {
        const std::string& name = project.emissions[i].pollutant;
        auto at = std::find(names.begin(), names.end(), name);
        if (at == names.end()) {
            names.push_back(name);
            counted.emplace_back();
            faulty.emplace_back();
            at = names.end() - 1;
        }
        const auto k = static_cast<std::size_t>(at - names.begin());
        const Result<CalculationInputs> inputs = EmissionInputs(project, i);
        if (!inputs) {
            faulty[k].push_back(i);
            continue;
        }
        const CalculationInputs& in = inputs.value();
        CountedRow row;
        row.row = i;
        row.standard = static_cast<double>(ComparisonStandard(in));
        row.perArea = static_cast<double>(AreaEmissionRate(in));
        const double width = static_cast<double>(SourceWidth(in));
        const double length = static_cast<double>(SourceLength(in));
        row.area.emission_rate = 1.0;
        row.area.release_height = static_cast<double>(ReleaseHeight(in));
        row.area.larger_side = std::max(width, length);
        row.area.smaller_side = std::min(width, length);
        row.area.land_use = setup.landUse;
        counted[k].push_back(row);
    }

    for (std::size_t k = 0; k < names.size(); ++k) {
        PollutantSetup pollutant;
        pollutant.pollutant = names[k];
        if (!faulty[k].empty()) {
            pollutant.note = u"以下排放有错误，未计入叠加浓度场：";
            for (std::size_t i = 0; i < faulty[k].size(); ++i) {
                pollutant.note += (i > 0 ? u"；" : u"") + RowLabel(project, faulty[k][i]);
            }
        }
        const std::vector<CountedRow>& rows = counted[k];
        if (rows.empty()) {
            pollutant.error = u"污染物" + Quoted(names[k]) + u"没有可计算的排放，不计算叠加浓度场";
        } else if (std::any_of(rows.begin(), rows.end(), [&](const CountedRow& r) {
                       return r.standard != rows.front().standard;
                   })) {
            pollutant.error =
                u"污染物" + Quoted(names[k]) + u"各排放的评价标准不一致，不计算叠加浓度场：";
            for (std::size_t i = 0; i < rows.size(); ++i) {
                pollutant.error += (i > 0 ? u"；" : u"") + RowLabel(project, rows[i].row) +
                                   u" S = " + Shortest(rows[i].standard) + u" μg/m³";
            }
        } else {
            pollutant.standard = rows.front().standard;
        }
        if (pollutant.error.empty()) {
            for (const CountedRow& r : rows) pollutant.rows.push_back(r.row);
        }
        setup.pollutants.push_back(std::move(pollutant));
    }

    // One field source for each project source that a counted row names.
    for (const PollutantSetup& p : setup.pollutants) {
        for (std::size_t row : p.rows) {
            const std::string& id = project.emissions[row].source;
            if (std::find(setup.sourceIds.begin(), setup.sourceIds.end(), id) !=
                setup.sourceIds.end())
                continue;
            const Source& source = *EmissionSource(project, row);
            const auto k = static_cast<std::size_t>(&p - setup.pollutants.data());
            const auto& rows = counted[k];
            const auto found = std::find_if(rows.begin(), rows.end(),
                                            [&](const CountedRow& r) { return r.row == row; });
            FieldSource fs;
            fs.centre = source.centre;
            fs.larger_angle = source.width > source.length ? source.angle + 90.0 : source.angle;
            fs.area = found->area;
            setup.sources.push_back(fs);
            setup.sourceIds.push_back(id);
        }
    }
    for (std::size_t k = 0; k < setup.pollutants.size(); ++k) {
        PollutantSetup& p = setup.pollutants[k];
        p.weights.assign(setup.sources.size(), 0.0);
        for (const CountedRow& r : counted[k]) {
            if (p.error.empty()) {
                const std::string& id = project.emissions[r.row].source;
                const auto at = std::find(setup.sourceIds.begin(), setup.sourceIds.end(), id);
                p.weights[static_cast<std::size_t>(at - setup.sourceIds.begin())] = r.perArea;
            }
        }
    }
    return setup;
}

}  // namespace quorvel::project
