#pragma once
// A project and its results made by hand, as a run would give them: the
// zone from Boost.Geometry (sample_zone.cpp), each computed emission with a record made from a
// crafted report.

#include <string>
#include <utility>
#include <vector>

#include "calc/project/project.h"
#include "calc/project/project_results.h"
#include "calc/sheet/sheet_data.h"
#include "calc/sheet/tests/sheet_records.h"
#include "calc/unicode_text.h"

namespace quorvel::project::test_support {

inline Source SourceAt(std::string id, std::string name, SitePoint centre, double angle,
                       double width, double length) {
    Source s;
    s.id = std::move(id);
    s.name = std::move(name);
    s.centre = centre;
    s.angle = angle;
    s.height = 5;
    s.width = width;
    s.length = length;
    return s;
}

inline Emission EmissionOf(std::string source, std::string pollutant, double rate, RateUnit unit,
                           std::optional<double> hourly, std::optional<double> daily) {
    Emission e;
    e.source = std::move(source);
    e.pollutant = std::move(pollutant);
    e.rate = rate;
    e.unit = unit;
    e.hourly = hourly;
    e.daily = daily;
    return e;
}

inline Receptor ReceptorAt(std::string name, SitePoint position) {
    Receptor r;
    r.name = std::move(name);
    r.position = position;
    return r;
}

// The plan of the project format's example: a third of a metre a pixel.
inline Plan SamplePlan(std::string image) {
    Plan plan;
    plan.image = std::move(image);
    plan.points[0].pixel = {12, 30};
    plan.points[0].site = {0, 200};
    plan.points[1].pixel = {912, 630};
    plan.points[1].site = {300, 0};
    return plan;
}

// S1 and S3 have a distance (150 m and 50 m), S2 none; 王家村 lies outside
// the zone, 李庄 inside it, 张庄 in the plant.
inline Project SampleProject() {
    Project p;
    p.name = "示例化工项目";
    p.sources = {
        SourceAt("S1", "罐区", {120, 80}, 30, 40, 60),
        SourceAt("S2", "污水站", {250, 150}, 0, 20, 30),
        SourceAt("S3", "", {60, 160}, 90, 15, 25),
    };
    p.emissions = {
        EmissionOf("S1", "非甲烷总烃", 0.12, RateUnit::KilogramsPerHour, 2.0, std::nullopt),
        EmissionOf("S1", "甲苯", 0.02, RateUnit::KilogramsPerHour, 0.2, std::nullopt),
        EmissionOf("S2", "氨", 0.5, RateUnit::TonnesPerYear, 0.2, std::nullopt),
        EmissionOf("S3", "硫化氢", 0.001, RateUnit::GramsPerSecond, std::nullopt, 0.01),
    };
    p.boundary = {{0, 0}, {300, 0}, {300, 200}, {0, 200}};
    p.receptors = {ReceptorAt("王家村", {520, 150}), ReceptorAt("李庄", {140, -50}),
                   ReceptorAt("张庄", {200, 120})};
    return p;
}

// A record whose report reaches S = 500 up to `reach` m; the verdict names
// the next distance.
inline RunRecord ReachingRecord(double reach) {
    using quorvel::test_support::RecordOf;
    using quorvel::test_support::ReportOf;
    return RecordOf(ReportOf([reach](double d) { return d <= reach ? 800.0 - d : 480.0 * 30 / d; },
                             {{790.0, 10.0}}));
}

// A record whose report stays below S = 500 everywhere.
inline RunRecord BelowRecord() {
    using quorvel::test_support::RecordOf;
    using quorvel::test_support::ReportOf;
    return RecordOf(ReportOf([](double d) { return 3000.0 / (d + 20); }, {{100.0, 10.0}}));
}

inline EmissionResult Computed(const std::string& source, const std::string& pollutant,
                               const RunRecord& record) {
    EmissionResult e;
    e.source = source;
    e.pollutant = pollutant;
    e.verdict = record.verdict.text;
    e.standard = record.comparisonStandard;
    const SheetFigures figures = ReadSheetFigures(record);
    e.cmax = figures.cmax;
    e.cmaxDistance = figures.cmaxDistance;
    if (figures.cmax) e.pmax = *figures.cmax / record.comparisonStandard;
    if (record.verdict.bufferDistance) {
        e.outcome = EmissionOutcome::Distance;
        e.distance = *record.verdict.bufferDistance;
    } else {
        e.outcome = EmissionOutcome::None;
    }
    e.record = record;
    return e;
}

// The part of the discs (centre, radius in m) outside the boundary, as the
// zone's polygons and area.
ZoneResult ZoneOf(const std::vector<std::pair<SitePoint, double>>& discs,
                  const std::vector<SitePoint>& boundary);

// The results of SampleProject(): S1 150 m (非甲烷总烃 150 m, 甲苯 100 m),
// S2 none, S3 50 m.
inline ProjectResults SampleResults() {
    const Project project = SampleProject();
    ProjectResults r;
    r.project = project.name;
    r.program = "Quorvel 1.2.21";
    r.model = u" *** SCREEN3 MODEL RUN ***";
    r.finished = LocalTime{2026, 12, 8, 14, 3, 21, 480};
    r.emissions = {Computed("S1", "非甲烷总烃", ReachingRecord(100)),
                   Computed("S1", "甲苯", ReachingRecord(90)), Computed("S2", "氨", BelowRecord()),
                   Computed("S3", "硫化氢", ReachingRecord(40))};
    r.sources = {{"S1", SourceOutcome::Distance, 150.0, "非甲烷总烃"},
                 {"S2", SourceOutcome::None, std::nullopt, ""},
                 {"S3", SourceOutcome::Distance, 50.0, "硫化氢"}};
    r.zone = ZoneOf({{{120, 80}, 150}, {{60, 160}, 50}}, project.boundary);
    r.zone.maxBeyondBoundary = 100.0;
    r.receptors = {
        {"王家村", false, false, 250.3}, {"李庄", true, false, -10.0}, {"张庄", false, true, 30.0}};
    return r;
}

}  // namespace quorvel::project::test_support
