#include "calc/project/files/results_file.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/program_version.h"

namespace quorvel::project {
namespace {

ProjectResults Sample() {
    ProjectResults results;
    results.project = "示例化工项目";
    results.program = "Quorvel 1.2.21";
    results.model = u"面源 Quorvel";
    results.finished = LocalTime{2026, 12, 8, 14, 3, 21, 480};

    EmissionResult tank;
    tank.source = "S1";
    tank.pollutant = "非甲烷总烃";
    tank.outcome = EmissionOutcome::Distance;
    tank.distance = 150.0;
    tank.verdict = u"Quorvel 建议距离（距面源中心） = 150 m";
    tank.standard = 2000.0;
    tank.cmax = 812.3;
    tank.cmaxDistance = 48.0;
    tank.pmax = 0.406;
    results.emissions.push_back(tank);

    EmissionResult ammonia;
    ammonia.source = "S2";
    ammonia.pollutant = "氨";
    ammonia.outcome = EmissionOutcome::None;
    ammonia.distance = 0.0;  // not written: only a distance outcome has one
    ammonia.verdict = u"无超标点";
    ammonia.standard = 200.0;
    ammonia.cmax = 120.5;
    ammonia.cmaxDistance = 30.5;
    ammonia.pmax = 0.6025;
    results.emissions.push_back(ammonia);

    EmissionResult strong;
    strong.source = "S2";
    strong.pollutant = "硫化氢";
    strong.outcome = EmissionOutcome::Beyond;
    strong.verdict = u"最远超标距离 > 5000 m\r\n污染源强可能超标，建议削减源强后，再计算";
    strong.standard = 10.0;
    strong.cmax = 1.0e4;
    strong.cmaxDistance = 10.0;
    strong.pmax = 1000.0;
    results.emissions.push_back(strong);

    EmissionResult wrong;
    wrong.source = "S3";
    wrong.pollutant = "颗粒物";
    wrong.outcome = EmissionOutcome::Error;
    wrong.error = u"排放源“S3”的污染物“颗粒物”：排放高度应大于 0 m（现为 0）";
    results.emissions.push_back(wrong);

    results.sources.push_back(SourceResult{"S1", SourceOutcome::Distance, 150.0, "非甲烷总烃"});
    results.sources.push_back(SourceResult{"S2", SourceOutcome::Beyond, std::nullopt, ""});
    results.sources.push_back(SourceResult{"S3", SourceOutcome::Incomplete, std::nullopt, ""});

    results.zone.bounded = false;
    results.zone.area = 40123.5;
    results.zone.maxBeyondBoundary = 95.25;
    results.zone.polygons.push_back(ZonePolygon{{{0, 0}, {1, 0}, {1, 1}}, {}});

    results.receptors.push_back(ReceptorResult{"王家村", false, false, 250.3});
    results.receptors.push_back(ReceptorResult{"厂内宿舍", true, true, -12.0});
    results.receptors.push_back(ReceptorResult{"李庄小学", false, false, std::nullopt});
    return results;
}

const char kExpected[] = R"({
  "format": "quorvel-results",
  "version": 1,
  "project": "示例化工项目",
  "program": "Quorvel 1.2.21",
  "model": "面源 Quorvel",
  "finished": "2026-12-08T14:03:21+08:00",
  "emissions": [
    {
      "source": "S1",
      "pollutant": "非甲烷总烃",
      "outcome": "distance",
      "distance_m": 150,
      "verdict": "Quorvel 建议距离（距面源中心） = 150 m",
      "S": 2000.0,
      "cmax": 812.3,
      "cmax_distance_m": 48,
      "pmax": 0.406,
      "error": null
    },
    {
      "source": "S2",
      "pollutant": "氨",
      "outcome": "none",
      "distance_m": null,
      "verdict": "无超标点",
      "S": 200.0,
      "cmax": 120.5,
      "cmax_distance_m": 30.5,
      "pmax": 0.6025,
      "error": null
    },
    {
      "source": "S2",
      "pollutant": "硫化氢",
      "outcome": "beyond",
      "distance_m": null,
      "verdict": "最远超标距离 > 5000 m\r\n污染源强可能超标，建议削减源强后，再计算",
      "S": 10.0,
      "cmax": 10000.0,
      "cmax_distance_m": 10,
      "pmax": 1000.0,
      "error": null
    },
    {
      "source": "S3",
      "pollutant": "颗粒物",
      "outcome": "error",
      "distance_m": null,
      "verdict": "",
      "S": null,
      "cmax": null,
      "cmax_distance_m": null,
      "pmax": null,
      "error": "排放源“S3”的污染物“颗粒物”：排放高度应大于 0 m（现为 0）"
    }
  ],
  "sources": [
    {
      "id": "S1",
      "outcome": "distance",
      "distance_m": 150,
      "deciding_pollutant": "非甲烷总烃"
    },
    {
      "id": "S2",
      "outcome": "beyond",
      "distance_m": null,
      "deciding_pollutant": null
    },
    {
      "id": "S3",
      "outcome": "incomplete",
      "distance_m": null,
      "deciding_pollutant": null
    }
  ],
  "zone": {
    "bounded": false,
    "area_m2": 40123.5,
    "max_beyond_boundary_m": 95.25
  },
  "receptors": [
    {
      "name": "王家村",
      "inside": false,
      "in_plant": false,
      "margin_m": 250.3
    },
    {
      "name": "厂内宿舍",
      "inside": true,
      "in_plant": true,
      "margin_m": -12
    },
    {
      "name": "李庄小学",
      "inside": false,
      "in_plant": false,
      "margin_m": null
    }
  ]
}
)";

TEST(ResultsFile, TheMembersInTheirFixedOrder) {
    EXPECT_EQ(ResultsJson(Sample()), kExpected);
    // The same results, the same bytes.
    EXPECT_EQ(ResultsJson(Sample()), ResultsJson(Sample()));
}

TEST(ResultsFile, TheTimeWithItsOffsetAndTheProgramByDefault) {
    ProjectResults results;
    results.finished = LocalTime{2027, 1, 2, 3, 4, 5, -330};
    const std::string json = ResultsJson(results);
    EXPECT_NE(json.find("\"finished\": \"2027-01-02T03:04:05-05:30\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"program\": \"Quorvel " + ProgramVersion() + "\""), std::string::npos)
        << json;
    results.finished = LocalTime{2027, 1, 2, 3, 4, 5, 0};
    EXPECT_NE(ResultsJson(results).find("T03:04:05+00:00\""), std::string::npos);
    // A clock that could not be read.
    results.finished = LocalTime{};
    EXPECT_NE(ResultsJson(results).find("\"finished\": null"), std::string::npos);
}

TEST(ResultsFile, AZoneWithoutBoundaryAndNoRows) {
    ProjectResults results;
    results.zone.bounded = true;
    results.zone.area = 0.0;
    const std::string json = ResultsJson(results);
    EXPECT_NE(json.find(R"(  "emissions": [],
  "sources": [],
  "zone": {
    "bounded": true,
    "area_m2": 0.0,
    "max_beyond_boundary_m": null
  },
  "receptors": []
})"),
              std::string::npos)
        << json;
}

}  // namespace
}  // namespace quorvel::project

namespace quorvel::project {
namespace {

TEST(ResultsFile, LimitsFollowTheErrorOfAComputedEmissionOnly) {
    ProjectResults results = Sample();
    EmissionLimits limits;
    limits.boundary = RateLimit{118.0, 0.41, 0.54, true};
    limits.receptors = RateLimit{402.5, 1.9, 0.0, false};
    results.emissions[0].limits = limits;
    results.emissions[3].limits = limits;  // an error row never shows any
    const std::string json = ResultsJson(results);
    EXPECT_NE(json.find(R"(      "error": null,
      "limits": {
        "boundary": {
          "target_m": 118.0,
          "rate_max": 0.41,
          "cut": 0.54
        },
        "receptors": {
          "target_m": 402.5,
          "rate_max": 1.9,
          "cut": 0.0,
          "settled": false
        },
        "distance": null
      }
    },)"),
              std::string::npos)
        << json;
    EXPECT_EQ(json.find("\"limits\""), json.rfind("\"limits\""));
}

}  // namespace
}  // namespace quorvel::project
