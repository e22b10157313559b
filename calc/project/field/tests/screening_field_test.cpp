// The screening field against a plain reference, against the single
// calculation, and its shares and cuts.

#include "calc/project/field/screening_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include <nlohmann/json.hpp>

#include "calc/project/field/compute_field.h"
#include "calc/project/field/field_setup.h"
#include "calc/project/field/screening_function.h"
#include "calc/project/field/tests/plain_reference.h"
#include "calc/project/files/project_file.h"
#include "model/worst_case_search.h"

namespace quorvel::project {
namespace {

const std::filesystem::path kRoot = QUORVEL_SOURCE_DIR;

nlohmann::json Reference() {
    std::ifstream in(kRoot / "calc/project/field/tests/data/field_reference.json");
    return nlohmann::json::parse(in);
}

std::size_t PollutantIndex(const FieldSetup& setup, const std::string& name) {
    for (std::size_t k = 0; k < setup.pollutants.size(); ++k) {
        if (setup.pollutants[k].pollutant == name) return k;
    }
    return setup.pollutants.size();
}

TEST(ScreeningField, WithinHalfAPercentOfThePlainReference) {
    const nlohmann::json reference = Reference();
    std::size_t checked = 0;
    for (const auto& entry : reference["projects"]) {
        const Project project = OpenProject(kRoot / entry["project"].get<std::string>()).value();
        const FieldSetup setup = SetUpField(project);
        const ScreeningFunction function(setup);
        for (const auto& point : entry["points"]) {
            const SitePoint p{point["x"].get<double>(), point["y"].get<double>()};
            std::vector<std::size_t> all(function.Count());
            for (std::size_t k = 0; k < all.size(); ++k) all[k] = k;
            const std::vector<FieldValue> fast = function.At(p, all);
            for (const auto& value : point["values"]) {
                const std::size_t k = PollutantIndex(setup, value["pollutant"]);
                const auto at =
                    std::find(function.Pollutants().begin(), function.Pollutants().end(), k);
                ASSERT_NE(at, function.Pollutants().end());
                const FieldValue& got =
                    fast[static_cast<std::size_t>(at - function.Pollutants().begin())];
                EXPECT_NEAR(got.c / value["c"].get<double>(), 1.0, 0.005)
                    << entry["project"] << " at " << p.x << ", " << p.y << ": "
                    << value["pollutant"].get<std::string>();
                double sum = 0.0;
                for (const FieldShare& share : got.shares) sum += share.c;
                EXPECT_NEAR(sum, got.c, 1e-9 * got.c);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 49u);
}

TEST(ScreeningField, TheStoredReferenceIsThePlainFieldsOwn) {
    // Two stored points computed again, each under the weather the stored
    // value names, so that the data cannot drift from the code that made it.
    const nlohmann::json reference = Reference();
    const auto& entry = reference["projects"][1];
    const Project project = OpenProject(kRoot / entry["project"].get<std::string>()).value();
    const FieldSetup setup = SetUpField(project);
    for (std::size_t i : {0u, 4u}) {
        const auto& point = entry["points"][i];
        const auto& value = point["values"][0];
        const PlainValue again = PlainField(
            setup, PollutantIndex(setup, value["pollutant"]),
            {point["x"].get<double>(), point["y"].get<double>()},
            {{static_cast<Stability>(value["class"].get<int>()), value["wind_mps"].get<double>()}});
        EXPECT_NEAR(again.c / value["c"].get<double>(), 1.0, 1e-9);
    }
}

Project OneSource(double angle, double width, double length, Location location) {
    Project project;
    project.location = location;
    project.sources = {Source{"S1", "", {0, 0}, angle, 4.0, width, length, {}}};
    Emission e;
    e.source = "S1";
    e.pollutant = "氨";
    e.rate = 1.0;
    e.unit = RateUnit::KilogramsPerHour;
    e.hourly = 0.2;
    project.emissions = {e};
    return project;
}

TEST(ScreeningField, ASquareTurnedByAQuarterGivesTheSameField) {
    const FieldSetup straight = SetUpField(OneSource(0.0, 50.0, 50.0, Location::Rural));
    const FieldSetup turned = SetUpField(OneSource(90.0, 50.0, 50.0, Location::Rural));
    const ScreeningFunction a(straight);
    const ScreeningFunction b(turned);
    for (const SitePoint p : {SitePoint{10, 5}, {40, 0}, {60, 70}, {-200, 30}, {0, -900}}) {
        EXPECT_NEAR(a.At(p, {0})[0].c / b.At(p, {0})[0].c, 1.0, 1e-3) << p.x << ", " << p.y;
    }
}

TEST(ScreeningField, OneSourceNeverExceedsTheSingleCalculationsWorstCase) {
    for (const Location location : {Location::Urban, Location::Rural}) {
        const FieldSetup setup = SetUpField(OneSource(35.0, 20.0, 90.0, location));
        const ScreeningFunction field(setup);
        AreaSource single = setup.sources[0].area;
        single.emission_rate = setup.pollutants[0].weights[0];
        const LandUse land = setup.landUse;
        const WorstCaseSearch search(
            single, ExpandMetChoice(MetChoice{}, single.release_height, land), DirectionChoice{});
        for (const double d : {20.0, 47.0, 60.0, 150.0, 600.0, 2500.0}) {
            for (const double bearing : {0.0, 35.0, 80.0, 125.0, 200.0, 305.0}) {
                const double b = bearing * std::numbers::pi / 180.0;
                const double c = field.At({d * std::cos(b), d * std::sin(b)}, {0})[0].c;
                EXPECT_LE(c, 1.001 * search.At(d).concentration)
                    << d << " m at " << bearing << " degrees";
            }
        }
    }
}

TEST(CombinedField, TheCutBringsTheLargestConcentrationOutsideThePlantToTheStandard) {
    Project project =
        OpenProject(kRoot / "calc/project/field/tests/data/two_workshops.qvproj").value();
    // The hydrocarbons of all three sources.
    project.emissions.pop_back();
    const FieldResult before = ComputeField(project);
    const PollutantFieldResult& p = before.pollutants[0];
    ASSERT_TRUE(p.cut);
    ASSERT_GT(*p.cut, 0.1);
    EXPECT_NEAR(p.maxOutside->c * (1.0 - *p.cut), *p.standard, 1e-9 * *p.standard);
    double sum = 0.0;
    for (const FieldShare& share : p.maxOutside->shares) sum += share.c;
    EXPECT_NEAR(sum, p.maxOutside->c, 1e-9 * sum);
    EXPECT_EQ(p.maxOutside->shares.size(), 3u);

    for (Emission& e : project.emissions) e.rate *= 1.0 - *p.cut;
    const FieldResult after = ComputeField(project);
    EXPECT_NEAR(after.pollutants[0].maxOutside->c / *p.standard, 1.0, 0.005);
    EXPECT_LT(*after.distance, 1.0);
}

TEST(CombinedField, DisagreeingStandardsAndFaultyRowsAreTheirPollutantsOwn) {
    Project project =
        OpenProject(kRoot / "calc/project/field/tests/data/two_workshops.qvproj").value();
    project.emissions[1].hourly = 4.0;  // 非甲烷总烃 of W2 against a different standard
    project.emissions[3].rate = -1.0;   // 苯, its only row, is wrong
    project.emissions.push_back(project.emissions[2]);
    project.emissions.back().pollutant = "氨";  // computed
    project.emissions.back().hourly = 0.2;
    const FieldResult r = ComputeField(project);
    ASSERT_EQ(r.pollutants.size(), 3u);
    EXPECT_NE(r.pollutants[0].error.find(u"评价标准不一致"), std::u16string::npos);
    EXPECT_NE(r.pollutants[0].error.find(u"W2"), std::u16string::npos);
    EXPECT_FALSE(r.pollutants[1].error.empty());
    EXPECT_NE(r.pollutants[1].note.find(u"苯"), std::u16string::npos);
    EXPECT_FALSE(r.pollutants[1].final);
    EXPECT_TRUE(r.pollutants[2].error.empty());
    EXPECT_TRUE(r.pollutants[2].maxOutside);
    ASSERT_EQ(r.receptors.size(), 1u);
    ASSERT_EQ(r.receptors[0].pollutants.size(), 1u);
    EXPECT_EQ(r.receptors[0].pollutants[0].pollutant, "氨");
}

}  // namespace
}  // namespace quorvel::project
