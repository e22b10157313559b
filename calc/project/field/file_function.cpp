#include "calc/project/field/file_function.h"

namespace quorvel::project {

std::optional<double> FileFieldValue(const FileField& field, const SitePoint& point) {
    for (const FileGrid& grid : field.grids) {
        if (const std::optional<double> value = GridValue(grid, point)) return value;
    }
    return std::nullopt;
}

std::vector<FieldValue> FileFunction::At(const SitePoint& point,
                                         const std::vector<std::size_t>& which) const {
    std::vector<FieldValue> values;
    values.reserve(which.size());
    for (std::size_t k : which) {
        FieldValue v;
        v.c = FileFieldValue(fields_[k], point).value_or(0.0);
        v.at = point;
        values.push_back(std::move(v));
    }
    return values;
}

bool FileFunction::Covers(const SitePoint& point, std::size_t which) const {
    return FileFieldValue(fields_[which], point).has_value();
}

}  // namespace quorvel::project
