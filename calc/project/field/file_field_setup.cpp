#include "calc/project/field/file_field_setup.h"

#include <algorithm>

#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/shortest_number.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::u16string Quoted(const std::string& utf8) { return u"“" + FromUtf8(utf8) + u"”"; }

// The daily standard x 1000 (ug/m^3) that the pollutant's rows give, or why
// there is none.
Result<double> DailyStandard(const Project& project, const std::string& pollutant) {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < project.emissions.size(); ++i) {
        if (project.emissions[i].pollutant == pollutant && project.emissions[i].daily)
            rows.push_back(i);
    }
    if (rows.empty()) {
        return Fail(u"浓度场为 24 小时平均，而污染物" + Quoted(pollutant) +
                    u"没有日均标准，无法评价");
    }
    const double first = *project.emissions[rows.front()].daily;
    if (std::any_of(rows.begin(), rows.end(),
                    [&](std::size_t i) { return *project.emissions[i].daily != first; })) {
        std::u16string text = u"污染物" + Quoted(pollutant) + u"各排放的日均标准不一致：";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            text += (i > 0 ? u"；" : u"") + RowLabel(project, rows[i]) + u" " +
                    FromUtf8(ShortestNumber(*project.emissions[rows[i]].daily)) + u" mg/m³";
        }
        return Fail(text);
    }
    if (!(first > 0.0)) return Fail(u"污染物" + Quoted(pollutant) + u"的日均标准应大于 0");
    return first * 1000.0;
}

}  // namespace

std::vector<FileFieldSetup> SetUpFileFields(
    const Project& project, const FieldSetup& setup,
    const std::optional<std::filesystem::path>& projectFolder) {
    std::vector<FileFieldSetup> all;
    for (const FieldFile& entry : project.fields) {
        FileFieldSetup f;
        f.entry = &entry;
        const auto named =
            std::find_if(setup.pollutants.begin(), setup.pollutants.end(),
                         [&](const PollutantSetup& p) { return p.pollutant == entry.pollutant; });
        if (named == setup.pollutants.end()) {
            f.error = u"项目中没有污染物" + Quoted(entry.pollutant) +
                      u"的排放，浓度场文件无从确定评价标准";
            all.push_back(std::move(f));
            continue;
        }
        f.pollutant = static_cast<std::size_t>(named - setup.pollutants.begin());
        if (!projectFolder && !PathFromText(FromUtf8(entry.file)).is_absolute()) {
            f.error = u"项目尚未保存，无法确定浓度场文件" + Quoted(entry.file) +
                      u"所在的位置：请先保存项目，或填写文件的完整路径";
            all.push_back(std::move(f));
            continue;
        }
        Result<FileField> loaded =
            LoadFieldFile(projectFolder.value_or(std::filesystem::path()), entry);
        if (!loaded) {
            f.error = loaded.error();
            all.push_back(std::move(f));
            continue;
        }
        f.field = std::move(loaded).value();
        if (f.field->average == "24-HR") {
            const Result<double> daily = DailyStandard(project, entry.pollutant);
            if (daily)
                f.standard = daily.value();
            else
                f.error = daily.error();
        } else if (named->standard) {
            f.standard = named->standard;
        } else {
            f.error = named->error;
        }
        if (!f.error.empty()) f.field.reset();
        all.push_back(std::move(f));
    }
    return all;
}

}  // namespace quorvel::project
