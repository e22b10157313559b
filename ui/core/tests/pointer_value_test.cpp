// The value under the plan's pointer: the field's own number where the field
// reports one, one pollutant or all, and only the latest point asked.

#include "ui/core/pointer_value.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "calc/project/field/compute_field.h"
#include "calc/project/files/tests/scratch_folder.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

project::Project TwoPollutants() {
    project::Project project;
    project.sources.push_back({"S1", "罐区", {100, 100}, 30, 5, 40, 60, {}});
    project.emissions.push_back(
        {"S1", "非甲烷总烃", 0.5, project::RateUnit::KilogramsPerHour, 2.0, std::nullopt, {}});
    project.emissions.push_back(
        {"S1", "苯", 0.05, project::RateUnit::KilogramsPerHour, 0.11, std::nullopt, {}});
    project.boundary = {{0, 0}, {200, 0}, {200, 200}, {0, 200}};
    return project;
}

TEST(PointerValueTest, TheFieldsOwnNumberWhereItReportsOne) {
    const project::Project project = TwoPollutants();
    const project::FieldResult field = project::ComputeField(project);
    ASSERT_EQ(field.pollutants.size(), 2u);
    const project::FieldValue& max = *field.pollutants[0].maxOutside;
    const auto prepared = project::PrepareFields(project, std::nullopt);
    const std::u16string text = PointerValueText(*prepared, "非甲烷总烃", max.at);
    EXPECT_TRUE(text.starts_with(u"非甲烷总烃 ")) << ToUtf8(text);
    const std::u16string c = text.substr(6, text.find(u" µg") - 6);
    EXPECT_NEAR(std::stod(ToUtf8(c)), max.c, max.c * 0.005) << ToUtf8(text);
    EXPECT_NE(text.find(u"占标率 "), std::u16string::npos);

    // All pollutants: each one's share of its standard.
    const std::u16string all = PointerValueText(*prepared, "", max.at);
    EXPECT_TRUE(all.starts_with(u"非甲烷总烃 ")) << ToUtf8(all);
    EXPECT_NE(all.find(u"，苯 "), std::u16string::npos) << ToUtf8(all);
    EXPECT_EQ(all.find(u"µg"), std::u16string::npos);

    EXPECT_EQ(PointerValueText(*prepared, "氨", max.at), u"");
}

// 苯 from a CSV field of 3 µg/m³ everywhere over site x, y in [0, 400] m,
// written in file coordinates 1000 m east of the site's.
TEST(PointerValueTest, AFileFieldGivesItsOwnValueAndSaysWhereItEnds) {
    project::test_support::ScratchFolder folder;
    std::string csv = "x,y,浓度\n";
    for (int x = 1000; x <= 1400; x += 100) {
        for (int y = 0; y <= 400; y += 100) {
            csv += std::to_string(x) + "," + std::to_string(y) + ",3\n";
        }
    }
    project::test_support::WriteBytes(folder.path() / PathFromText(u"苯.csv"), csv);
    project::Project project = TwoPollutants();
    project.fields.push_back({"苯", "苯.csv", "csv", {1000, 0}, "", "", "", {}});
    const auto prepared = project::PrepareFields(project, folder.path());

    EXPECT_EQ(PointerValueText(*prepared, "苯", {250, 130}), u"苯 3 µg/m³，占标率 2.73%");
    EXPECT_EQ(PointerValueText(*prepared, "苯", {450, 130}), u"苯：不在浓度场文件范围内");
    const std::u16string all = PointerValueText(*prepared, "", {450, 130});
    EXPECT_TRUE(all.starts_with(u"非甲烷总烃 ")) << ToUtf8(all);
    EXPECT_TRUE(all.ends_with(u"，苯：不在浓度场文件范围内")) << ToUtf8(all);

    // Not saved yet: the relative name cannot be found, so 苯 has no field.
    const auto unsaved = project::PrepareFields(project, std::nullopt);
    EXPECT_EQ(PointerValueText(*unsaved, "苯", {250, 130}), u"");
}

TEST(PointerValueTest, DeliversForTheLatestPointAndNothingOffThePlan) {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::u16string> texts;
    PointerValue value([&](std::u16string text) {
        const std::lock_guard lock(mutex);
        texts.push_back(std::move(text));
        changed.notify_all();
    });
    const auto wait = [&](std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20),
                                [&] { return texts.size() >= count; });
    };
    value.Ask(project::SitePoint{300, 100});  // no field yet
    ASSERT_TRUE(wait(1));
    EXPECT_EQ(texts.back(), u"");

    value.SetField(std::make_shared<const project::Project>(TwoPollutants()), std::nullopt, "苯");
    value.Ask(project::SitePoint{300, 100});
    ASSERT_TRUE(wait(2));
    EXPECT_TRUE(texts.back().starts_with(u"苯 ")) << ToUtf8(texts.back());
    value.Ask(std::nullopt);
    ASSERT_TRUE(wait(3));
    EXPECT_EQ(texts.back(), u"");
}

}  // namespace
}  // namespace quorvel
