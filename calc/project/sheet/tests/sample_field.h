#pragma once
// The current rule's results for SampleProject(), made by hand: 非甲烷总烃
// exceeds off the east and south sides (D = 86.4 m, which it decides), 甲苯
// stays below its standard; 李庄 lies in the protection area.

#include "calc/project/project_results.h"
#include "calc/project/sheet/tests/project_records.h"

namespace quorvel::project::test_support {

inline FieldShare ShareOf(std::string source, double c) { return {std::move(source), c}; }

inline ReceptorPollutant ReceptorValue(std::string pollutant, double c, double standard) {
    ReceptorPollutant r;
    r.pollutant = std::move(pollutant);
    r.value.c = c;
    r.value.ratio = c / standard;
    r.value.stabilityClass = "F";
    r.value.windSpeed = 1.0;
    r.value.windFrom = 262.0;
    r.value.shares = {ShareOf("S1", c * 0.75), ShareOf("S3", c * 0.25)};
    r.exceeds = c >= standard;
    r.cut = r.exceeds ? 1 - standard / c : 0.0;
    return r;
}

inline PollutantFieldResult ExceedingPollutant() {
    PollutantFieldResult p;
    p.pollutant = "非甲烷总烃";
    p.standard = 2000.0;
    p.maxOutside = FieldValue{
        3120.5, 1.56025, {310, 95}, "F", 1.0, 262.0, {ShareOf("S1", 2410.2), ShareOf("S3", 710.3)}};
    p.cut = 0.359;
    p.distance = 86.4;
    p.distanceAt = SitePoint{386.4, 120};
    p.exceedance = {{{{300, 20}, {386.4, 120}, {300, 160}}, {}},
                    {{{150, 0}, {250, 0}, {200, -60}}, {}}};
    p.exceedanceArea = 6020 + 3000;
    p.contours = {
        {1.0,
         {{{300, 20}, {386.4, 120}, {300, 160}, {250, 100}, {300, 20}},
          {{150, 0}, {200, -60}, {250, 0}}}},
        {0.5, {{{280, -100}, {450, 120}, {300, 260}, {200, 100}, {280, -100}}}},
    };
    return p;
}

inline PollutantFieldResult BelowPollutant() {
    PollutantFieldResult p;
    p.pollutant = "甲苯";
    p.standard = 200.0;
    p.maxOutside = FieldValue{150.0, 0.75, {300, 80}, "F", 1.0, 250.0, {ShareOf("S1", 150.0)}};
    p.cut = 0.0;
    p.distance = 0.0;
    p.contours = {{1.0, {}}, {0.5, {{{100, 40}, {200, 40}, {200, 120}, {100, 120}, {100, 40}}}}};
    return p;
}

inline FieldResult SampleField() {
    FieldResult f;
    f.distance = 86.4;
    f.decidingPollutant = "非甲烷总烃";
    f.area = 51230.0;
    f.areaPolygons = {
        {{{0, -86.4}, {386.4, -86.4}, {386.4, 200}, {300, 200}, {300, 0}, {0, 0}}, {}}};
    f.exceedingSides = {1, 2};
    f.pollutants = {ExceedingPollutant(), BelowPollutant()};
    f.receptors = {
        {"王家村",
         false,
         {ReceptorValue("非甲烷总烃", 210.3, 2000), ReceptorValue("甲苯", 20, 200)}},
        {"李庄", true, {ReceptorValue("非甲烷总烃", 1600, 2000), ReceptorValue("甲苯", 90, 200)}},
        {"张庄", false, {ReceptorValue("非甲烷总烃", 2400, 2000), ReceptorValue("甲苯", 120, 200)}},
    };
    return f;
}

inline ProjectResults SampleResultsWithField() {
    ProjectResults results = SampleResults();
    results.field = SampleField();
    return results;
}

}  // namespace quorvel::project::test_support
