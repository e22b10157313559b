#include "calc/project/dxf/result_drawing.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>

#include "calc/project/dxf/drawing_units.h"
#include "calc/project/dxf/dxf_reader.h"
#include "calc/project/dxf/site_import.h"
#include "calc/project/dxf/tests/test_drawings.h"
#include "calc/project/field/compute_field.h"
#include "calc/project/zone/zone.h"
#include "calc/unicode_text.h"

namespace quorvel::project::dxf {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A folder of its own for a test, removed with all it holds at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& name)
        : path_(fs::temp_directory_path() /
                ("quorvel-result-drawing-" + std::to_string(::getpid()) + "-" + name)) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::permissions(path_ / "只读", fs::perms::owner_all, ignored);
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// What ezdxf reads in `drawing` (read_result_drawing.py); null when ezdxf is
// not on this machine.
json ReadWithEzdxf(const fs::path& drawing, const std::string& planArguments = "") {
#ifdef QUORVEL_EZDXF_PYTHON
    const fs::path out = drawing.string() + ".json";
    const std::string command = std::string(QUORVEL_EZDXF_PYTHON) + " \"" +
                                QUORVEL_READ_RESULT_DRAWING + "\" \"" + drawing.string() + "\" " +
                                planArguments + " > \"" + out.string() + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return json::parse(ReadAll(out), nullptr, false);
#else
    (void)drawing;
    (void)planArguments;
    return nullptr;
#endif
}

#define QUORVEL_NEED_EZDXF(read)                                                      \
    do {                                                                              \
        if ((read).is_null()) GTEST_SKIP() << "python3-ezdxf is not on this machine"; \
        ASSERT_FALSE((read).is_discarded());                                          \
    } while (false)

std::vector<json> Entities(const json& read, const std::string& layer, const std::string& type) {
    std::vector<json> found;
    for (const json& entity : read["entities"]) {
        if (entity["layer"] == layer && entity["type"] == type) found.push_back(entity);
    }
    return found;
}

double HatchedArea(const json& read, const std::string& layer) {
    double area = 0.0;
    for (const json& hatch : Entities(read, layer, "HATCH")) area += hatch["area"].get<double>();
    return area;
}

std::vector<SitePoint> Rectangle(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// A plant of 300 x 200 m with two sources, a zone with a hole, two pollutants
// whose names become the same layer name, and three receptors.
struct Example {
    Project project;
    ProjectResults results;
};

Example MadeByHand() {
    Example e;
    e.project.name = "示例化工项目";
    e.project.boundary = Rectangle(0, 0, 300, 200);
    e.project.sources = {
        Source{"S1", "罐区", {120, 80}, 30.0, 5.0, 40.0, 60.0, {}},
        Source{"S2", "", {250, 150}, 0.0, 5.0, 10.0, 20.0, {}},
    };
    e.project.receptors = {Receptor{"王家村", {520, 150}, {}}, Receptor{"李庄", {-50, 100}, {}},
                           Receptor{"学校", {100, 260}, {}}};
    e.results.sources = {SourceResult{"S1", SourceOutcome::Distance, 150.0, "非甲烷总烃"},
                         SourceResult{"S2", SourceOutcome::Beyond, std::nullopt, ""}};
    // 500 x 400 less a hole of 100 x 100: 190000 m^2.
    e.results.zone.polygons = {
        ZonePolygon{Rectangle(-100, -100, 400, 300), {Rectangle(100, 50, 200, 150)}}};
    e.results.zone.area = 190000.0;
    e.results.receptors = {ReceptorResult{"王家村", false, false, 250.0},
                           ReceptorResult{"李庄", true, false, -20.0},
                           ReceptorResult{"学校", false, false, 10.0}};
    FieldResult field;
    field.distance = 86.4;
    field.decidingPollutant = "NO/x";
    field.area = 40000.0 - 100.0;
    // A triangle of 40000 m^2 with a triangular hole of 100 m^2.
    field.areaPolygons = {
        ZonePolygon{{{300, 0}, {700, 0}, {300, 200}}, {{{400, 20}, {420, 20}, {400, 30}}}}};
    PollutantFieldResult nox;
    nox.pollutant = "NO/x";
    nox.distanceAt = SitePoint{350, 50};
    nox.exceedance = {ZonePolygon{Rectangle(310, 20, 360, 70), {}}};
    nox.exceedanceArea = 2500.0;
    nox.contours = {FieldContour{1.0, {{{310, 20}, {360, 20}, {360, 70}, {310, 70}, {310, 20}}}},
                    FieldContour{0.5, {{{305, 10}, {380, 10}, {380, 90}}}}};
    PollutantFieldResult second = nox;
    second.pollutant = "no:x";
    field.pollutants = {nox, second};
    field.receptors = {ReceptorFieldResult{"王家村", false, {}},
                       ReceptorFieldResult{"李庄", false, {}},
                       ReceptorFieldResult{"学校", true, {}}};
    e.results.field = field;
    return e;
}

TEST(ResultDrawing, EzdxfReadsEachLayerWithWhatItHolds) {
    const ScratchFolder scratch("layers");
    const fs::path& folder = scratch.path();
    const Example e = MadeByHand();
    const fs::path file = folder / "结果.dxf";
    ASSERT_TRUE(WriteResultDrawing(file, e.project, e.results).ok());
    const json read = ReadWithEzdxf(file);
    QUORVEL_NEED_EZDXF(read);

    EXPECT_EQ(read["version"], "AC1024");
    EXPECT_EQ(read["audit_errors"], json::array());
    EXPECT_EQ(read["insunits"], 6);  // metres without a tie

    // Every layer, each with its own colour and a line type the file defines.
    const std::vector<std::string> layers{"QV-厂界",
                                          "QV-排放源",
                                          "QV-控制距离",
                                          "QV-防护区域",
                                          "QV-超标区域-NO_x",
                                          "QV-等值线-NO_x",
                                          "QV-超标区域-no_x-2",
                                          "QV-等值线-no_x-2",
                                          "QV-大气环境防护区域",
                                          "QV-敏感目标"};
    std::set<int> colours;
    const std::set<std::string> lineTypes(read["linetypes"].begin(), read["linetypes"].end());
    for (const std::string& name : layers) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(read["layers"].contains(name));
        colours.insert(read["layers"][name]["colour"].get<int>());
        EXPECT_TRUE(lineTypes.contains(read["layers"][name]["linetype"].get<std::string>()));
    }
    EXPECT_EQ(colours.size(), layers.size());

    const std::vector<json> boundary = Entities(read, "QV-厂界", "LWPOLYLINE");
    ASSERT_EQ(boundary.size(), 1u);
    EXPECT_TRUE(boundary[0]["closed"].get<bool>());
    EXPECT_EQ(boundary[0]["points"], json::parse("[[0,0],[300,0],[300,200],[0,200]]"));

    EXPECT_EQ(Entities(read, "QV-排放源", "LWPOLYLINE").size(), 2u);
    // The disc of the source with a distance only; its radius is the distance.
    const std::vector<json> discs = Entities(read, "QV-控制距离", "CIRCLE");
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_DOUBLE_EQ(discs[0]["radius"].get<double>(), 150.0);
    EXPECT_EQ(discs[0]["centre"], json::parse("[120, 80]"));

    EXPECT_NEAR(HatchedArea(read, "QV-防护区域"), 190000.0, 190.0);
    EXPECT_NEAR(HatchedArea(read, "QV-大气环境防护区域"), 39900.0, 39.9);
    EXPECT_NEAR(HatchedArea(read, "QV-超标区域-NO_x"), 2500.0, 2.5);
    // The closed contour is closed, the open one stays open.
    const std::vector<json> contours = Entities(read, "QV-等值线-NO_x", "LWPOLYLINE");
    ASSERT_EQ(contours.size(), 2u);
    EXPECT_TRUE(contours[0]["closed"].get<bool>());
    EXPECT_EQ(contours[0]["points"].size(), 4u);
    EXPECT_FALSE(contours[1]["closed"].get<bool>());

    // Texts: Chinese intact, 2.5 m high, in a style with a Chinese font.
    std::multiset<std::string> texts;
    for (const json& entity : read["entities"]) {
        if (entity["type"] != "TEXT") continue;
        texts.insert(entity["layer"].get<std::string>() + ":" + entity["text"].get<std::string>());
        EXPECT_DOUBLE_EQ(entity["height"].get<double>(), 2.5);
        EXPECT_EQ(entity["font"], "simsun.ttc");
    }
    for (const char* text :
         {"QV-排放源:S1 罐区", "QV-排放源:S2", "QV-控制距离:S1 控制距离 150 m",
          "QV-大气环境防护区域:大气环境防护距离 87 m", "QV-等值线-NO_x:NO/x 1倍标准值",
          "QV-等值线-NO_x:NO/x 0.5倍标准值", "QV-敏感目标:王家村",
          "QV-敏感目标:李庄（位于防护区域内）", "QV-敏感目标:学校（位于大气环境防护区域内）"}) {
        EXPECT_TRUE(texts.contains(text)) << text;
    }
    // The receptors inside are filled.
    EXPECT_EQ(Entities(read, "QV-敏感目标", "HATCH").size(), 2u);
    EXPECT_EQ(Entities(read, "QV-敏感目标", "CIRCLE").size(), 3u);
}

TEST(ResultDrawing, AreInTheDrawingsUnitsAndCoordinatesThroughATurnedTie) {
    const ScratchFolder scratch("tie");
    const fs::path& folder = scratch.path();
    Example e = MadeByHand();
    e.project.cad =
        CadTie{"plan.dxf", DrawingUnit::Millimetre, {512345000.0, 3401234000.0}, 30.0, {}, {}};
    const fs::path file = folder / "turned.dxf";
    ASSERT_TRUE(WriteResultDrawing(file, e.project, e.results).ok());
    const json read = ReadWithEzdxf(file);
    QUORVEL_NEED_EZDXF(read);
    EXPECT_EQ(read["audit_errors"], json::array());
    EXPECT_EQ(read["insunits"], 4);

    const CadTie& tie = *e.project.cad;
    const auto site = [&tie](const json& point) {
        return DrawingToSite(tie, {point[0].get<double>(), point[1].get<double>()});
    };
    const std::vector<json> boundary = Entities(read, "QV-厂界", "LWPOLYLINE");
    ASSERT_EQ(boundary.size(), 1u);
    ASSERT_EQ(boundary[0]["points"].size(), e.project.boundary.size());
    for (std::size_t i = 0; i < e.project.boundary.size(); ++i) {
        const SitePoint back = site(boundary[0]["points"][i]);
        EXPECT_NEAR(back.x, e.project.boundary[i].x, 1e-6);
        EXPECT_NEAR(back.y, e.project.boundary[i].y, 1e-6);
    }
    // The source's rectangle turns with the site: its first side still runs
    // along the length at 30 degrees from the site's x axis.
    const std::vector<json> sources = Entities(read, "QV-排放源", "LWPOLYLINE");
    ASSERT_EQ(sources.size(), 2u);
    const SitePoint a = site(sources[0]["points"][0]);
    const SitePoint b = site(sources[0]["points"][1]);
    EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 60.0, 1e-6);
    EXPECT_NEAR(std::atan2(b.y - a.y, b.x - a.x) * 180.0 / 3.141592653589793, 30.0, 1e-6);

    const std::vector<json> discs = Entities(read, "QV-控制距离", "CIRCLE");
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_DOUBLE_EQ(discs[0]["radius"].get<double>(), 150000.0);
    const SitePoint centre = site(discs[0]["centre"]);
    EXPECT_NEAR(centre.x, 120.0, 1e-6);
    EXPECT_NEAR(centre.y, 80.0, 1e-6);
    EXPECT_NEAR(HatchedArea(read, "QV-防护区域"), 190000.0e6, 190.0e6);
    for (const json& entity : read["entities"]) {
        if (entity["type"] == "TEXT") {
            EXPECT_DOUBLE_EQ(entity["height"].get<double>(), 2500.0);
        }
    }
}

// The plan's boundary imported, the project computed, the result exported:
// the exported boundary lies on the plan's.
TEST(ResultDrawing, LiesOverThePlanItWasImportedFrom) {
    QUORVEL_NEED_TEST_DRAWINGS();
    const fs::path plan = test_support::TestDrawing("r2000_gbk_mm.dxf");
    const Result<Drawing> drawing = OpenDrawing(plan);
    ASSERT_TRUE(drawing.ok()) << ToUtf8(drawing.error());
    for (const double north : {0.0, 30.0}) {
        SCOPED_TRACE(north);
        ImportRequest request;
        request.file = "plan.dxf";
        request.layers = {LayerChoice{"厂界", LayerRole::Boundary},
                          LayerChoice{"排放源", LayerRole::Sources}};
        request.sourceHeight = 5.0;
        request.northDeg = north;
        const Result<ImportResult> imported = ImportDrawing(Project{}, drawing.value(), request);
        ASSERT_TRUE(imported.ok()) << ToUtf8(imported.error());
        Project project = imported.value().project;
        ASSERT_FALSE(project.sources.empty());
        project.emissions = {Emission{project.sources[0].id,
                                      "非甲烷总烃",
                                      30.0,
                                      RateUnit::KilogramsPerHour,
                                      2.0,
                                      std::nullopt,
                                      {}}};
        ProjectResults results;
        results.field = ComputeField(project);
        ASSERT_TRUE(results.field->area && *results.field->area > 0.0);
        results.zone =
            ComputeZone({Disc{project.sources[0].centre, 120.0}}, project.boundary, true);

        const ScratchFolder scratch("round-trip");
        const fs::path file = scratch.path() / "result.dxf";
        ASSERT_TRUE(WriteResultDrawing(file, project, results).ok());
        const json read = ReadWithEzdxf(file, "\"" + plan.string() + "\" 厂界");
        QUORVEL_NEED_EZDXF(read);
        EXPECT_EQ(read["audit_errors"], json::array());
        // On the plan's outline: its corners to the 0.1 mm the import keeps
        // of site coordinates, its arc within the import's 0.1 m.
        EXPECT_LT(read["off_plan"].get<double>(), 100.0);
        EXPECT_LT(read["corners_missed"].get<double>(), 0.1);
        // Areas in mm^2.
        EXPECT_NEAR(HatchedArea(read, "QV-大气环境防护区域") * 1e-6, *results.field->area,
                    *results.field->area * 1e-3);
        EXPECT_NEAR(HatchedArea(read, "QV-超标区域-非甲烷总烃") * 1e-6,
                    results.field->pollutants[0].exceedanceArea,
                    results.field->pollutants[0].exceedanceArea * 1e-3);
        EXPECT_NEAR(HatchedArea(read, "QV-防护区域") * 1e-6, results.zone.area,
                    results.zone.area * 1e-3);
    }
}

TEST(ResultDrawing, AFolderInTheDrawingsPlaceIsNamedAndKept) {
    const ScratchFolder scratch("folder");
    const Example e = MadeByHand();
    fs::create_directories(scratch.path() / "结果.dxf");
    const Status written = WriteResultDrawing(scratch.path() / "结果.dxf", e.project, e.results);
    ASSERT_FALSE(written.ok());
    EXPECT_NE(ToUtf8(written.error()).find("结果.dxf"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(scratch.path() / "结果.dxf"));
}

TEST(ResultDrawing, AFolderThatCannotBeWrittenLeavesTheOldDrawing) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: every folder can be written";
    const ScratchFolder scratch("fault");
    const Example e = MadeByHand();
    const fs::path locked = scratch.path() / "只读";
    fs::create_directories(locked);
    const fs::path old = locked / "old.dxf";
    std::ofstream(old) << "the old drawing";
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const Status denied = WriteResultDrawing(old, e.project, e.results);
    fs::permissions(locked, fs::perms::owner_all);
    ASSERT_FALSE(denied.ok());
    EXPECT_NE(ToUtf8(denied.error()).find("old.dxf"), std::string::npos);
    EXPECT_EQ(ReadAll(old), "the old drawing");
}

}  // namespace
}  // namespace quorvel::project::dxf
