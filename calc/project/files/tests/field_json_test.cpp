// The combined field in the results file: every member in its place.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "calc/project/files/results_file.h"

namespace quorvel::project {
namespace {

FieldResult SampleField() {
    FieldResult field;
    field.distance = 86.43;
    field.decidingPollutant = "非甲烷总烃";
    field.area = 51230.04;
    field.areaPolygons = {{{{300, 0}, {386.4, 0}, {386.4, 200}, {300, 200}}, {}}};
    field.exceedingSides = {1, 2};

    PollutantFieldResult nmhc;
    nmhc.pollutant = "非甲烷总烃";
    nmhc.standard = 2000.0;
    FieldValue peak;
    peak.c = 3120.5432;
    peak.ratio = 1.5602716;
    peak.at = {310.04, 95.0};
    peak.stabilityClass = "F";
    peak.windSpeed = 1.0;
    peak.windFrom = 262.04;
    peak.shares = {{"S1", 2410.2}, {"S3", 710.3432}};
    nmhc.maxOutside = peak;
    nmhc.cut = 0.35906;
    nmhc.distance = 86.43;
    nmhc.distanceAt = SitePoint{386.0, 120.0};
    nmhc.exceedanceArea = 18030.0;
    nmhc.exceedance = {{{{300, 50}, {380, 50}, {380, 150}}, {{{320, 80}, {340, 80}, {330, 90}}}}};
    nmhc.contours = {{1.0, {{{300, 50}, {380, 50}, {380, 150}, {300, 50}}}}, {0.5, {}}};
    field.pollutants.push_back(nmhc);

    PollutantFieldResult wrong;
    wrong.pollutant = "苯";
    wrong.final = false;
    wrong.error = u"污染物“苯”各排放的评价标准不一致";
    field.pollutants.push_back(wrong);

    ReceptorFieldResult village;
    village.name = "王家村";
    ReceptorPollutant at;
    at.pollutant = "非甲烷总烃";
    at.value = peak;
    at.value.c = 210.3;
    at.value.ratio = 0.10515;
    field.receptors.push_back(village);
    field.receptors.back().pollutants.push_back(at);
    return field;
}

TEST(FieldInResults, EveryMemberBesideTheZone) {
    ProjectResults results;
    results.field = SampleField();
    const auto json = nlohmann::ordered_json::parse(ResultsJson(results));
    std::vector<std::string> order;
    for (const auto& [key, value] : json.items()) order.push_back(key);
    const auto zone = std::find(order.begin(), order.end(), "zone");
    ASSERT_NE(zone, order.end());
    EXPECT_EQ(*(zone + 1), "field");

    const auto& field = json["field"];
    std::vector<std::string> members;
    for (const auto& [key, value] : field.items()) members.push_back(key);
    EXPECT_EQ(members,
              (std::vector<std::string>{"method", "distance_m", "deciding_pollutant", "area_m2",
                                        "area", "exceeding_sides", "pollutants", "receptors"}));
    EXPECT_EQ(field["method"], "screening");
    EXPECT_EQ(field["distance_m"], 86.4);
    EXPECT_EQ(field["area_m2"], 51230.0);
    EXPECT_EQ(field["exceeding_sides"], nlohmann::ordered_json::array({1, 2}));
    // A list of polygons, each a list of rings, each a list of points.
    EXPECT_EQ(field["area"][0][0][1], nlohmann::ordered_json::array({386.4, 0.0}));

    const auto& p = field["pollutants"][0];
    for (const char* member : {"pollutant", "source", "S", "max_outside", "cut", "distance_m", "at",
                               "exceedance_m2", "exceedance", "contours", "final", "note"}) {
        EXPECT_TRUE(p.contains(member)) << member;
    }
    EXPECT_EQ(p["source"], "screening");
    EXPECT_EQ(p["max_outside"]["c"], 3120.54);
    EXPECT_EQ(p["max_outside"]["ratio"], 1.56);
    EXPECT_EQ(p["max_outside"]["shares"][1]["source"], "S3");
    EXPECT_EQ(p["cut"], 0.3591);
    EXPECT_EQ(p["exceedance"][0].size(), 2u);  // the outer ring and its hole
    EXPECT_EQ(p["contours"][0]["ratio"], 1.0);
    EXPECT_EQ(p["contours"][1]["lines"], nlohmann::ordered_json::array());
    EXPECT_TRUE(p["final"].get<bool>());
    EXPECT_TRUE(p["note"].is_null());

    const auto& failed = field["pollutants"][1];
    EXPECT_FALSE(failed["final"].get<bool>());
    EXPECT_TRUE(failed["max_outside"].is_null());
    EXPECT_EQ(failed["error"], "污染物“苯”各排放的评价标准不一致");

    const auto& r = field["receptors"][0];
    EXPECT_EQ(r["name"], "王家村");
    EXPECT_FALSE(r["in_area"].get<bool>());
    const auto& rp = r["pollutants"][0];
    for (const char* member : {"pollutant", "c", "ratio", "class", "wind_mps", "wind_from_deg",
                               "exceeds", "cut", "shares"}) {
        EXPECT_TRUE(rp.contains(member)) << member;
    }
    EXPECT_EQ(rp["ratio"], 0.1052);
    EXPECT_EQ(rp["wind_from_deg"], 262.0);
}

TEST(FieldInResults, AbsentWhenNotComputed) {
    EXPECT_FALSE(nlohmann::json::parse(ResultsJson(ProjectResults{})).contains("field"));
}

}  // namespace
}  // namespace quorvel::project
