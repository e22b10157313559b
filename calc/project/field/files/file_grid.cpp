#include "calc/project/field/files/file_grid.h"

#include <algorithm>
#include <cmath>

#include "calc/project/files/shortest_number.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

std::u16string Line(std::size_t line) { return u"第 " + FromUtf8(std::to_string(line)) + u" 行"; }
std::u16string Shortest(double value) { return FromUtf8(ShortestNumber(value)); }

// The lattice lines of `values` (sorted, merged within the tolerance), or
// empty when they are not equally spaced.
struct Axis {
    double first = 0.0;
    double step = 0.0;
    int count = 0;
};

// The lattice lines of `values` (sorted, merged within the tolerance) when
// they are equally spaced; otherwise a coordinate off the spacing of the
// first two lines.
struct AxisOrOffender {
    std::optional<Axis> axis;
    double offender = 0.0;
};

AxisOrOffender AxisOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::vector<double> lines;
    for (double v : values) {
        if (lines.empty() || v - lines.back() > kLatticeTolerance) lines.push_back(v);
    }
    const int count = static_cast<int>(lines.size());
    if (count < 2) return {Axis{lines.empty() ? 0.0 : lines.front(), 0.0, count}, 0.0};
    auto offLattice = [&](double step) -> std::optional<double> {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (std::fabs(lines[i] - (lines.front() + step * static_cast<double>(i))) >
                kLatticeTolerance)
                return lines[i];
        }
        return std::nullopt;
    };
    const double step = (lines.back() - lines.front()) / static_cast<double>(count - 1);
    if (!offLattice(step)) return {Axis{lines.front(), step, count}, 0.0};
    return {std::nullopt, offLattice(lines[1] - lines[0]).value_or(lines[1])};
}

// The index of `v` on `axis`, or -1 when it lies off the lattice.
int IndexOn(const Axis& axis, double v) {
    const double at = std::round((v - axis.first) / axis.step);
    if (at < 0 || at >= axis.count) return -1;
    return std::fabs(axis.first + at * axis.step - v) <= kLatticeTolerance ? static_cast<int>(at)
                                                                           : -1;
}

}  // namespace

Result<FileGrid> GridOfSamples(const std::vector<FieldSample>& samples) {
    std::vector<double> xs;
    std::vector<double> ys;
    for (const FieldSample& s : samples) {
        if (std::fabs(s.x) > kLargestFileCoordinate || std::fabs(s.y) > kLargestFileCoordinate) {
            return Fail(Line(s.line) + u"：坐标 (" + Shortest(s.x) + u", " + Shortest(s.y) +
                        u") 超出范围");
        }
        xs.push_back(s.x);
        ys.push_back(s.y);
    }
    const AxisOrOffender byX = AxisOf(xs);
    const AxisOrOffender byY = AxisOf(ys);
    if (!byX.axis || !byY.axis) {
        const bool inX = !byX.axis;
        for (const FieldSample& s : samples) {
            if ((inX ? s.x : s.y) != (inX ? byX.offender : byY.offender)) continue;
            return Fail(Line(s.line) + u"：点 (" + Shortest(s.x) + u", " + Shortest(s.y) +
                        u") 不在等间距的网格线上（" + (inX ? u"x" : u"y") +
                        u" 坐标间距不相等），不是规则网格");
        }
        return Fail(u"坐标间距不相等，不是规则网格");
    }
    const std::optional<Axis>& ax = byX.axis;
    const std::optional<Axis>& ay = byY.axis;
    if (ax->count < 2 || ay->count < 2) {
        return Fail(u"点不成网格：至少要有两列、两行（现有 " + Shortest(ax->count) + u" 列、" +
                    Shortest(ay->count) + u" 行）");
    }
    const std::size_t points =
        static_cast<std::size_t>(ax->count) * static_cast<std::size_t>(ay->count);
    if (points > kMostGridPoints) return Fail(u"网格点过多（超过 4000000 个）");
    FileGrid grid{ax->first,
                  ay->first,
                  ax->step,
                  ay->step,
                  ax->count,
                  ay->count,
                  std::vector<double>(points, std::nan(""))};
    std::vector<std::size_t> lineOf(points, 0);
    for (const FieldSample& s : samples) {
        if (!(s.c < kLargestConcentration)) {
            return Fail(Line(s.line) + u"：浓度 " + Shortest(s.c) + u" 超出范围");
        }
        const int c = IndexOn(*ax, s.x);
        const int r = IndexOn(*ay, s.y);
        if (c < 0 || r < 0) {
            return Fail(Line(s.line) + u"：点 (" + Shortest(s.x) + u", " + Shortest(s.y) +
                        u") 不在规则网格的格点上");
        }
        const std::size_t i = static_cast<std::size_t>(r) * static_cast<std::size_t>(ax->count) +
                              static_cast<std::size_t>(c);
        if (lineOf[i] != 0) {
            return Fail(Line(s.line) + u"：点 (" + Shortest(s.x) + u", " + Shortest(s.y) + u") 与" +
                        Line(lineOf[i]) + u"重复");
        }
        lineOf[i] = s.line;
        grid.values[i] = s.c;
    }
    for (std::size_t i = 0; i < points; ++i) {
        if (lineOf[i] == 0) {
            const auto c = static_cast<int>(i % static_cast<std::size_t>(ax->count));
            const auto r = static_cast<int>(i / static_cast<std::size_t>(ax->count));
            return Fail(u"不是完整的规则网格：缺少点 (" + Shortest(ax->first + c * ax->step) +
                        u", " + Shortest(ay->first + r * ay->step) + u")");
        }
    }
    return grid;
}

std::optional<double> GridValue(const FileGrid& grid, const SitePoint& point) {
    const double u = (point.x - grid.minX) / grid.stepX;
    const double v = (point.y - grid.minY) / grid.stepY;
    const double lastColumn = grid.columns - 1;
    const double lastRow = grid.rows - 1;
    if (!(u >= 0.0 && v >= 0.0 && u <= lastColumn && v <= lastRow)) return std::nullopt;
    const int c = std::min(static_cast<int>(u), grid.columns - 2);
    const int r = std::min(static_cast<int>(v), grid.rows - 2);
    const double fu = u - c;
    const double fv = v - r;
    const double a = grid.Value(c, r);
    const double b = grid.Value(c + 1, r);
    const double d = grid.Value(c, r + 1);
    const double e = grid.Value(c + 1, r + 1);
    if (std::isnan(a) || std::isnan(b) || std::isnan(d) || std::isnan(e)) return std::nullopt;
    return (1 - fv) * ((1 - fu) * a + fu * b) + fv * ((1 - fu) * d + fu * e);
}

}  // namespace quorvel::project
