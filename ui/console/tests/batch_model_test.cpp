// Projects computed with the real model through the real runner component.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "calc/project/batch/batch_run.h"
#include "calc/project/field/files/csv_field.h"
#include "calc/project/field/files/surfer_grid.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/project_file.h"
#include "calc/run/run_screen3.h"
#include "calc/unicode_text.h"
#include "ui/console/tests/scratch_app_dir.h"
#include "ui/console/tests/test_launchers.h"

namespace quorvel::project {
namespace {

namespace fs = std::filesystem;
using test_support::BuiltAppDir;
using test_support::ScratchAppDir;
using test_support::TestLaunchers;

Source MakeSource(std::string id, double x, double y, double height, double width, double length) {
    Source source;
    source.id = std::move(id);
    source.centre = {x, y};
    source.height = height;
    source.width = width;
    source.length = length;
    return source;
}

Emission MakeEmission(std::string source, std::string pollutant, double rate, RateUnit unit,
                      std::optional<double> hourly, std::optional<double> daily = std::nullopt) {
    Emission emission;
    emission.source = std::move(source);
    emission.pollutant = std::move(pollutant);
    emission.rate = rate;
    emission.unit = unit;
    emission.hourly = hourly;
    emission.daily = daily;
    return emission;
}

// Sources of several shapes, every unit, hourly, daily and both standards,
// distances, "无超标点" and "> 5000 m" among the verdicts.
std::vector<Project> Projects() {
    Project plant;
    plant.name = "化工厂";
    plant.sources = {MakeSource("S1", 0, 0, 5, 40, 60), MakeSource("S2", 300, 100, 12, 100, 100),
                     MakeSource("S3", -200, 50, 2.5, 10, 80)};
    plant.emissions = {
        MakeEmission("S1", "非甲烷总烃", 0.12, RateUnit::KilogramsPerHour, 2.0),
        MakeEmission("S1", "苯", 0.01, RateUnit::GramsPerSecond, 0.11),
        MakeEmission("S2", "氨", 3.5, RateUnit::TonnesPerYear, 0.2, 0.1),
        MakeEmission("S2", "硫化氢", 0.001, RateUnit::GramsPerSecond, 10.0),
        MakeEmission("S3", "颗粒物", 25, RateUnit::GramsPerSecond, std::nullopt, 0.3),
        MakeEmission("S3", "甲醇", 0.4, RateUnit::KilogramsPerHour, 3.0)};
    plant.boundary = {{-300, -100}, {400, -100}, {400, 250}, {-300, 250}};
    plant.receptors = {Receptor{"王家村", {900, 100}, {}}};

    Project rural = plant;
    rural.name = "农村项目";
    rural.location = Location::Rural;
    rural.emissions.resize(4);
    return {plant, rural};
}

TEST(BatchWithTheModel, EveryVerdictIsTheSingleCalculationsByteForByte) {
    const ScratchAppDir app(BuiltAppDir());
    const LauncherFactory launchers = TestLaunchers(app.path());
    const std::unique_ptr<ProcessLauncher> single = launchers(std::stop_token{});
    for (const Project& project : Projects()) {
        const BatchRun run = RunProject(project, BatchSettings{app.path(), 0}, launchers, {});
        ASSERT_EQ(run.results.emissions.size(), project.emissions.size());
        for (std::size_t i = 0; i < project.emissions.size(); ++i) {
            SCOPED_TRACE(project.name + " " + project.emissions[i].pollutant);
            const EmissionResult& batch = run.results.emissions[i];
            const CalculationInputs inputs = EmissionInputs(project, i).value();
            std::optional<RunRecord> record;
            const Result<std::u16string> verdict = RunScreen3(
                app.path(), [&inputs] { return inputs; }, *single, record);
            ASSERT_TRUE(verdict) << ToUtf8(verdict.error());
            ASSERT_NE(batch.outcome, EmissionOutcome::Error) << ToUtf8(batch.error);
            EXPECT_EQ(batch.verdict, verdict.value());
            ASSERT_TRUE(batch.record);
            EXPECT_EQ(batch.record->rows, record->rows);
            EXPECT_EQ(batch.record->summaryRows, record->summaryRows);
        }
        EXPECT_FALSE(run.results.model.empty());
    }
    EXPECT_EQ(app.FoldersLeft(), 0);
}

TEST(BatchWithTheModel, StopEndsTheRunningModelProgramsAndLeavesNoRunFiles) {
    const ScratchAppDir app(BuiltAppDir());
    fs::copy_file(test_support::SlowModelProgram(), app.path() / "SCREEN3.EXE",
                  fs::copy_options::overwrite_existing);
    Project project = Projects().front();
    std::stop_source stop;
    std::atomic<int> started{0};
    std::jthread stopper([&] {
        while (started < 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop.request_stop();
    });
    const auto begun = std::chrono::steady_clock::now();
    const BatchRun run = RunProject(
        project, BatchSettings{app.path(), 2}, TestLaunchers(app.path()),
        [&](const BatchProgress& step) {
            if (step.result == nullptr) ++started;
        },
        stop.get_token());
    // The stand-in would take a minute; ended, it takes well under one.
    EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(30));
    EXPECT_TRUE(run.cancelled);
    for (const EmissionResult& emission : run.results.emissions) {
        EXPECT_EQ(emission.error, kNotComputedText);
    }
    EXPECT_EQ(app.FoldersLeft(), 0);
}

// The console tool, run as a user runs it.
class BatchTool : public ::testing::Test {
  protected:
    int Run(const std::string& arguments) {
        const std::string tool = (app_.path() / "quorvel-batch").string();
        const std::string line = tool + " " + arguments + " >" +
                                 (app_.path() / "out.txt").string() + " 2>" +
                                 (app_.path() / "err.txt").string();
        return test_support::RunCommandLine(line);
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(app_.path() / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(app_.path() / name, std::ios::binary) << text;
    }
    std::string In(const std::string& name) const { return (app_.path() / name).string(); }

    ScratchAppDir app_{BuiltAppDir()};
};

TEST_F(BatchTool, ComputesAProjectAndWritesItsResultsAndSheet) {
    Write("p.qvproj", ProjectJson(Projects().front()));
    ASSERT_EQ(Run(In("p.qvproj") + " --results " + In("r.json") + " --sheet " + In("s.html")), 0)
        << Read("err.txt");
    const nlohmann::json results = nlohmann::json::parse(Read("r.json"));
    EXPECT_EQ(results["format"], "quorvel-results");
    EXPECT_EQ(results["emissions"].size(), 6u);
    EXPECT_EQ(results["sources"][0]["id"], "S1");
    EXPECT_NE(Read("s.html").find("</html>"), std::string::npos);
    const std::string out = Read("out.txt");
    EXPECT_NE(out.find("[6/6]"), std::string::npos) << out;
    EXPECT_NE(out.find("决定污染物"), std::string::npos) << out;
    // The combined field by default, its table after the sources'.
    EXPECT_EQ(results["field"]["method"], "screening");
    EXPECT_FALSE(results["field"]["pollutants"].empty());
    EXPECT_GT(out.find("全厂叠加浓度场"), out.find("决定污染物")) << out;
}

TEST_F(BatchTool, ResultsToStandardOutputMoveTheReportToStandardError) {
    Write("p.qvproj", ProjectJson(Projects().back()));
    ASSERT_EQ(Run(In("p.qvproj") + " --results - --no-field"), 0) << Read("err.txt");
    EXPECT_EQ(nlohmann::json::parse(Read("out.txt"))["emissions"].size(), 4u);
    EXPECT_FALSE(nlohmann::json::parse(Read("out.txt")).contains("field"));
    EXPECT_EQ(Read("err.txt").find("全厂叠加浓度场"), std::string::npos);
    EXPECT_NE(Read("err.txt").find("[4/4]"), std::string::npos);
}

TEST_F(BatchTool, AFailedRowGivesOneAndTheOthersAreComputed) {
    Project project = Projects().back();
    project.emissions[1].rate = -1;
    Write("p.qvproj", ProjectJson(project));
    ASSERT_EQ(Run(In("p.qvproj") + " --results " + In("r.json")), 1);
    const nlohmann::json results = nlohmann::json::parse(Read("r.json"));
    EXPECT_EQ(results["emissions"][1]["outcome"], "error");
    EXPECT_FALSE(results["emissions"][1]["error"].is_null());
    EXPECT_NE(results["emissions"][0]["outcome"], "error");
}

TEST_F(BatchTool, WritesTheResultDrawingAndSaysWhenItCannot) {
    Write("p.qvproj", ProjectJson(Projects().back()));
    ASSERT_EQ(Run(In("p.qvproj") + " --no-limits --dxf " + In("result.dxf")), 0) << Read("err.txt");
    const std::string drawing = Read("result.dxf");
    EXPECT_TRUE(drawing.starts_with("  0\r\nSECTION\r\n  2\r\nHEADER\r\n"))
        << drawing.substr(0, 40);
    EXPECT_NE(drawing.find("QV-等值线-"), std::string::npos);
    EXPECT_TRUE(drawing.ends_with("  0\r\nEOF\r\n"));
    // Without the field, no field layers.
    ASSERT_EQ(Run(In("p.qvproj") + " --no-limits --no-field --dxf " + In("result.dxf")), 0);
    EXPECT_EQ(Read("result.dxf").find("QV-等值线-"), std::string::npos);
    EXPECT_NE(Read("result.dxf").find("QV-控制距离"), std::string::npos);

    // A folder where the drawing should be: the other files are written, the
    // message names the drawing, and the exit status is not 0.
    std::filesystem::create_directory(app_.path() / "folder.dxf");
    EXPECT_EQ(Run(In("p.qvproj") + " --no-limits --no-field --results " + In("r.json") + " --dxf " +
                  In("folder.dxf")),
              1);
    EXPECT_NE(Read("err.txt").find("结果图形（DXF）未写出"), std::string::npos) << Read("err.txt");
    EXPECT_NE(Read("err.txt").find("folder.dxf"), std::string::npos) << Read("err.txt");
    EXPECT_FALSE(Read("r.json").empty());
    EXPECT_TRUE(std::filesystem::is_directory(app_.path() / "folder.dxf"));
}

TEST_F(BatchTool, AnUnusableFileGivesTwoAndTouchesNoOutput) {
    Write("r.json", "earlier results");
    Write("s.html", "earlier sheet");
    Write("bad.qvproj", "{\"format\": \"quorvel-project\", \"version\": 1,\n  \"sources\": [}");
    EXPECT_EQ(Run(In("bad.qvproj") + " --results " + In("r.json") + " --sheet " + In("s.html")), 2);
    EXPECT_NE(Read("err.txt").find("2"), std::string::npos);
    EXPECT_EQ(Run(In("missing.qvproj") + " --results " + In("r.json")), 2);
    EXPECT_EQ(Run("--results"), 2);
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Read("r.json"), "earlier results");
    EXPECT_EQ(Read("s.html"), "earlier sheet");
}

TEST_F(BatchTool, AFileFieldGivesTheRulesResultAndFieldOutWritesIt) {
    // VOCs at or above S = 1 ug/m^3 within 40 m of (330, 100), 30 m beyond
    // side 2 of the plant, in a Surfer grid of 2 m whose coordinates are the
    // site's moved by the offset.
    constexpr double kDx = 512000;
    constexpr double kDy = 3401000;
    auto bump = [](double x, double y) {
        const double d = std::hypot(x - 330, y - 100);
        return std::exp(2.0) * std::exp(-0.5 * d * d / 400.0);
    };
    FileGrid input{200 + kDx, -40 + kDy, 2, 2, 131, 141, {}};
    for (int r = 0; r < input.rows; ++r) {
        for (int c = 0; c < input.columns; ++c)
            input.values.push_back(bump(200 + 2 * c, -40 + 2 * r));
    }
    Write("vocs.grd", SurferGridText(input));
    Project project;
    project.sources = {{"S1", "罐区", {150, 100}, 0, 5, 20, 20, {}}};
    project.emissions = {{"S1", "VOCs", 0.01, RateUnit::GramsPerSecond, 0.001, std::nullopt, {}}};
    project.boundary = {{0, 0}, {300, 0}, {300, 200}, {0, 200}};
    FieldFile field;
    field.pollutant = "VOCs";
    field.file = "vocs.grd";
    field.offset = {kDx, kDy};
    project.fields = {field};
    Write("p.qvproj", ProjectJson(project));
    ASSERT_EQ(Run(In("p.qvproj") + " --no-limits --results " + In("r.json") + " --field-out " +
                  In("fieldout")),
              0)
        << Read("err.txt");
    const nlohmann::json results = nlohmann::json::parse(Read("r.json"));
    const nlohmann::json& f = results["field"];
    EXPECT_EQ(f["method"], "file");
    EXPECT_EQ(f["pollutants"][0]["source"], "vocs.grd");
    EXPECT_NEAR(f["distance_m"].get<double>(), 70.0, 0.2);
    EXPECT_EQ(f["exceeding_sides"], nlohmann::json::array({2}));
    EXPECT_TRUE(f["pollutants"][0]["final"].get<bool>());

    // The written grid holds the field's values at its points.
    const Result<FileGrid> grid = ReadSurferGrid(Read("fieldout/VOCs.grd"));
    ASSERT_TRUE(grid.ok()) << ToUtf8(grid.error());
    const FileGrid& g = grid.value();
    EXPECT_LE(g.minX, 0.0);
    EXPECT_GE(g.MaxX(), 370.0);
    EXPECT_LE(g.stepX, 50.0);
    int compared = 0;
    for (int r = 0; r < g.rows; ++r) {
        for (int c = 0; c < g.columns; ++c) {
            const double x = g.minX + c * g.stepX;
            const double y = g.minY + r * g.stepY;
            if (x < 200 || x > 460 || y < -40 || y > 240) {
                EXPECT_TRUE(std::isnan(g.Value(c, r))) << x << ", " << y;
                continue;
            }
            EXPECT_NEAR(g.Value(c, r), bump(x, y), 1e-12 * std::exp(2.0)) << x << ", " << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 50);
    const Result<std::vector<FieldSample>> csv = ReadCsvField(Read("fieldout/VOCs.csv"));
    ASSERT_TRUE(csv.ok()) << ToUtf8(csv.error());
    EXPECT_EQ(csv.value().size(), static_cast<std::size_t>(compared));

    // A folder that cannot be made: nothing is computed.
    Write("taken", "a file, not a folder");
    EXPECT_EQ(Run(In("p.qvproj") + " --field-out " + In("taken")), 2);
    EXPECT_NE(Read("err.txt").find("taken"), std::string::npos) << Read("err.txt");
}

}  // namespace
}  // namespace quorvel::project
