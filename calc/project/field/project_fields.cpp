#include "calc/project/field/project_fields.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

// The corners of the box around a file field's grid points at or above half
// its standard, so that the rule's frame holds every exceedance of the file.
void CoverHalfStandard(const FileField& field, double standard, std::vector<SitePoint>& cover) {
    for (const FileGrid& g : field.grids) {
        double minX = g.MaxX(), minY = g.MaxY(), maxX = g.minX, maxY = g.minY;
        for (int r = 0; r < g.rows; ++r) {
            for (int c = 0; c < g.columns; ++c) {
                if (!(g.Value(c, r) >= 0.5 * standard)) continue;
                minX = std::min(minX, g.minX + c * g.stepX);
                maxX = std::max(maxX, g.minX + c * g.stepX);
                minY = std::min(minY, g.minY + r * g.stepY);
                maxY = std::max(maxY, g.minY + r * g.stepY);
            }
        }
        if (minX <= maxX) {
            cover.push_back({minX, minY});
            cover.push_back({maxX, maxY});
        }
    }
}

}  // namespace

std::vector<FieldValue> MixedFunction::At(const SitePoint& point,
                                          const std::vector<std::size_t>& which) const {
    std::vector<std::size_t> fromScreening;
    std::vector<std::size_t> fromFiles;
    for (std::size_t k : which) {
        (routes_[k].file ? fromFiles : fromScreening).push_back(routes_[k].index);
    }
    const std::vector<FieldValue> s =
        fromScreening.empty() ? std::vector<FieldValue>{} : screening_.At(point, fromScreening);
    const std::vector<FieldValue> f =
        fromFiles.empty() ? std::vector<FieldValue>{} : files_.At(point, fromFiles);
    std::vector<FieldValue> values;
    values.reserve(which.size());
    std::size_t nextS = 0;
    std::size_t nextF = 0;
    for (std::size_t k : which) values.push_back(routes_[k].file ? f[nextF++] : s[nextS++]);
    return values;
}

double MixedFunction::Bound(const SitePoint& point, std::size_t which) const {
    const FieldRoute& r = routes_[which];
    return (r.file ? files_ : screening_).Bound(point, r.index);
}

bool MixedFunction::Covers(const SitePoint& point, std::size_t which) const {
    const FieldRoute& r = routes_[which];
    return (r.file ? files_ : screening_).Covers(point, r.index);
}

std::unique_ptr<ProjectFields> PrepareFields(
    const Project& project, const std::optional<std::filesystem::path>& projectFolder) {
    auto prepared = std::make_unique<ProjectFields>();
    ProjectFields& f = *prepared;
    f.setup = SetUpField(project);
    f.screening = std::make_unique<ScreeningFunction>(f.setup);
    f.files = SetUpFileFields(project, f.setup, projectFolder);
    f.fileOf.assign(f.setup.pollutants.size(), nullptr);
    for (const FileFieldSetup& file : f.files) {
        if (file.pollutant) f.fileOf[*file.pollutant] = &file;
    }
    f.ruleIndex.resize(f.setup.pollutants.size());
    f.cover = Corners(f.setup);
    std::vector<FileField> fileFields;
    std::vector<FieldRoute> routes;
    const std::vector<std::size_t>& computed = f.screening->Pollutants();
    for (std::size_t k = 0; k < f.setup.pollutants.size(); ++k) {
        const FileFieldSetup* file = f.fileOf[k];
        const std::string& name = f.setup.pollutants[k].pollutant;
        if (file != nullptr) {
            if (!file->error.empty()) continue;
            f.ruleIndex[k] = f.fields.size();
            routes.push_back({true, fileFields.size()});
            f.fields.push_back({name, *file->standard});
            CoverHalfStandard(*file->field, *file->standard, f.cover);
            fileFields.push_back(*file->field);
            continue;
        }
        const auto at = std::find(computed.begin(), computed.end(), k);
        if (at == computed.end()) continue;
        f.ruleIndex[k] = f.fields.size();
        routes.push_back({false, static_cast<std::size_t>(at - computed.begin())});
        f.fields.push_back({name, *f.setup.pollutants[k].standard});
    }
    f.fileFunction = std::make_unique<FileFunction>(std::move(fileFields));
    f.function = std::make_unique<MixedFunction>(*f.screening, *f.fileFunction, std::move(routes));
    return prepared;
}

}  // namespace quorvel::project
