// The project window's decisions seen through a recording window: title and
// dirty state, the save prompt, the commands, and runs against a stand-in
// model with progress, results, stop and results out of date.

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <fstream>
#include <mutex>

#include "calc/project/batch/tests/batch_fixture.h"
#include "calc/project/files/project_file.h"
#include "calc/project/sheet/tests/picture_bytes.h"
#include "calc/unicode_text.h"
#include "ui/core/project_window_behaviour.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test_support::BatchFixture;
using test_support::FallingReport;

class RecordingWindow : public ProjectWindowControls {
  public:
    std::vector<std::u16string> titles;
    std::vector<std::u16string> messages;
    std::vector<RunStatus> statuses;
    std::deque<SaveAnswer> answers;    // the save prompt's answers, in turn
    std::optional<fs::path> savePath;  // what the save dialog gives
    std::optional<fs::path> openPath;
    std::optional<fs::path> csvPath;
    int questions = 0;
    int closed = 0;
    const ResultsView* shownResults = nullptr;
    CommandStates commands;

    void Post(std::function<void()> task) override {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    void ShowTitle(std::u16string_view title) override { titles.emplace_back(title); }
    void ShowCommands(const CommandStates& states) override { commands = states; }
    void ShowTables(const ProjectTables&) override {}
    void ShowRunStatus(const RunStatus& status) override { statuses.push_back(status); }
    void ShowResults(const ResultsView* results) override { shownResults = results; }
    void ShowMessage(std::u16string_view text) override { messages.emplace_back(text); }
    SaveAnswer AskSaveChanges(std::u16string_view) override {
        ++questions;
        if (answers.empty()) return SaveAnswer::Cancel;
        const SaveAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<fs::path> AskOpenPath() override { return openPath; }
    std::optional<fs::path> AskSavePath(std::u16string_view) override { return savePath; }
    std::optional<fs::path> AskCsvPath() override { return csvPath; }
    void CloseWindow() override { ++closed; }
    void ShowPlan(const project::SiteFigure& figure) override {
        plan = figure;
        ++plans;
    }
    project::SiteFigure plan;
    int plans = 0;

    // How many items of `part` the plan shown last has.
    std::size_t PlanItems(project::FigurePart part) const {
        std::size_t n = 0;
        for (const project::FigureItem& item : plan.items) n += item.part == part ? 1 : 0;
        return n;
    }

    // Runs posted tasks on this (the "UI") thread until `done` holds; false
    // after 20 s without.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (RunPending() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    // Runs the tasks posted so far; returns how many there were.
    std::size_t RunPending() {
        std::deque<std::function<void()>> ready;
        {
            const std::lock_guard lock(mutex_);
            ready.swap(tasks_);
        }
        for (auto& task : ready) task();
        return ready.size();
    }

  private:
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
};

class ProjectWindowTest : public BatchFixture {
  protected:
    void SetUp() override {
        BatchFixture::SetUp();
        documents_ = appDir_ / u8"文档";
    }

    std::unique_ptr<ProjectWindowBehaviour> Window(bool hold = false) {
        return std::make_unique<ProjectWindowBehaviour>(window_, appDir_,
                                                        StandIns(FallingReport(), hold), 2);
    }

    // Two sources, three emissions: S1 400 m (苯) and 300 m, S2 nothing
    // reaching its standard; a receptor inside S1's disc.
    static void TypeProject(ProjectWindowBehaviour& w) {
        w.Paste(TableId::Sources, 0, 0,
                u"S1\t罐区\t0\t0\t0\t5\t40\t60\r\nS2\t仓库\t3000\t0\t0\t5\t40\t60\r\n");
        w.Paste(TableId::Emissions, 0, 0,
                u"S1\t苯\t0.5\tkg/hr\t0.3\t\r\nS1\t甲苯\t0.5\tkg/hr\t0.5\t\r\n"
                u"S2\t氨\t0.5\tkg/hr\t5\t\r\n");
        w.Paste(TableId::Receptors, 0, 0, u"近村\t350\t0\r\n");
    }

    bool Finished(const ProjectWindowBehaviour& w) {
        return window_.PumpUntil([&] { return w.Status().state != RunState::Running; });
    }

    RecordingWindow window_;
    fs::path documents_;
};

TEST_F(ProjectWindowTest, TheTitleFollowsTheFileAndTheUnsavedChanges) {
    auto w = Window();
    w->Refresh();
    EXPECT_EQ(window_.titles.back(), u"未命名 - Quorvel项目计算");
    w->SetCell(TableId::Sources, 0, 0, u"S1");  // no such row yet: nothing changes
    EXPECT_FALSE(w->IsDirty());
    w->AddRows(TableId::Sources, 0);
    w->SetCell(TableId::Sources, 0, 0, u"S1");
    EXPECT_TRUE(w->IsDirty());
    EXPECT_EQ(window_.titles.back(), u"未命名* - Quorvel项目计算");

    window_.savePath = appDir_ / u8"化工项目";  // the extension is added
    w->Paste(TableId::Sources, 0, 2, u"0\t0\t0\t5\t40\t60");
    ASSERT_TRUE(w->Save());
    EXPECT_EQ(w->File(), appDir_ / u8"化工项目.qvproj");
    EXPECT_EQ(window_.titles.back(), u"化工项目.qvproj - Quorvel项目计算");
    EXPECT_FALSE(w->IsDirty());

    w->SetLocation(project::Location::Rural);
    EXPECT_EQ(window_.titles.back(), u"化工项目.qvproj* - Quorvel项目计算");
    ASSERT_TRUE(w->Save());  // to its file, without a dialog
    window_.savePath.reset();

    auto other = Window();
    ASSERT_TRUE(other->OpenFile(appDir_ / u8"化工项目.qvproj"));
    EXPECT_EQ(other->Tables().location, project::Location::Rural);
    EXPECT_EQ(other->Tables().sources.rows[0].cells[7], u"60");
    EXPECT_FALSE(other->IsDirty());
}

TEST_F(ProjectWindowTest, UnsavedChangesAreSavedDroppedOrKeptAsTheUserAnswers) {
    auto w = Window();
    w->Close();  // nothing to ask
    EXPECT_EQ(window_.closed, 1);
    EXPECT_EQ(window_.questions, 0);

    w->AddRows(TableId::Receptors, 0);
    window_.answers = {SaveAnswer::Cancel};
    w->Close();
    EXPECT_EQ(window_.closed, 1);
    EXPECT_TRUE(w->IsDirty());

    // 保存, then the file dialog cancelled: stays open, nothing lost.
    window_.answers = {SaveAnswer::Save};
    EXPECT_FALSE(w->QueryClose());
    w->New();  // asked again: the answer list is empty, which cancels
    EXPECT_EQ(w->Tables().receptors.rows.size(), 1u);

    window_.answers = {SaveAnswer::DontSave};
    w->New();
    EXPECT_TRUE(w->Tables().receptors.rows.empty());
    EXPECT_FALSE(w->IsDirty());

    w->Paste(TableId::Receptors, 0, 0, u"王家村\t520\t150");
    window_.answers = {SaveAnswer::Save};
    window_.savePath = appDir_ / "p.qvproj";
    EXPECT_TRUE(w->QueryClose());
    EXPECT_TRUE(fs::exists(appDir_ / "p.qvproj"));

    // A project that cannot be saved is not closed on 保存.
    w->SetCell(TableId::Receptors, 0, 1, u"东边");
    window_.answers = {SaveAnswer::Save};
    EXPECT_FALSE(w->QueryClose());
    EXPECT_NE(window_.messages.back().find(u"“东边”不是数字"), std::u16string::npos);
    EXPECT_EQ(w->Tables().receptors.rows[0].cells[1], u"东边");
}

TEST_F(ProjectWindowTest, ARunReportsProgressThenItsResultsAndTheSheet) {
    auto w = Window();
    TypeProject(*w);
    EXPECT_TRUE(w->Commands()[ProjectCommand::Compute]);
    EXPECT_FALSE(w->Commands()[ProjectCommand::Stop]);
    EXPECT_FALSE(w->Commands()[ProjectCommand::Sheet]);
    w->Compute();
    EXPECT_EQ(w->Status().state, RunState::Running);
    EXPECT_EQ(w->Status().total, 3u);
    EXPECT_FALSE(w->Commands()[ProjectCommand::Compute]);
    EXPECT_FALSE(w->Commands()[ProjectCommand::Open]);
    EXPECT_TRUE(w->Commands()[ProjectCommand::Stop]);
    ASSERT_TRUE(Finished(*w));

    EXPECT_EQ(w->Status().state, RunState::Finished);
    EXPECT_TRUE(window_.commands[ProjectCommand::Sheet]);
    bool named = false;
    std::size_t lastDone = 0;
    for (const RunStatus& s : window_.statuses) {
        if (s.state != RunState::Running) continue;
        EXPECT_GE(s.done, lastDone);
        lastDone = s.done;
        named = named || s.current.find(u"的污染物“") != std::u16string::npos;
    }
    EXPECT_EQ(lastDone, 3u);
    EXPECT_TRUE(named);

    const ResultsView* view = w->Results();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(window_.shownResults, view);
    ASSERT_EQ(view->emissions.size(), 3u);
    EXPECT_EQ(view->emissions[0].source, u"S1（罐区）");
    EXPECT_EQ(view->emissions[0].result, w->RawResults()->emissions[0].verdict);
    EXPECT_FALSE(view->emissions[0].error);
    ASSERT_EQ(view->sources.size(), 2u);
    EXPECT_EQ(view->sources[0].distance, u"400 m");
    EXPECT_EQ(view->sources[0].decidingPollutant, u"苯");
    EXPECT_EQ(view->sources[1].distance, u"无超标点");
    ASSERT_EQ(view->receptors.size(), 1u);
    EXPECT_EQ(view->receptors[0].inside, u"是");
    EXPECT_EQ(view->zoneReach, u"—（项目未给出厂界）");
    EXPECT_FALSE(view->conclusion.empty());
    EXPECT_EQ(ClipboardText(SourceResultsBlock(*view)).rfind(u"排放源\t建议距离\t", 0), 0u);

    const std::optional<fs::path> sheet = w->WriteSheet(documents_);
    ASSERT_TRUE(sheet) << (window_.messages.empty() ? "" : ToUtf8(window_.messages.back()));
    EXPECT_EQ(sheet->parent_path(), documents_ / "Quorvel");
    EXPECT_EQ(sheet->filename().u8string().rfind(u8"项目计算书_", 0), 0u);
    EXPECT_EQ(w->WriteSheet(documents_), sheet);  // the same run finds its own sheet
    EXPECT_EQ(RunFoldersLeft(), 1);               // the documents folder only
}

TEST_F(ProjectWindowTest, AnEditMarksTheResultsOutOfDate_AlsoDuringTheRun) {
    auto w = Window();
    TypeProject(*w);
    w->Compute();
    ASSERT_TRUE(Finished(*w));
    w->SetCell(TableId::Emissions, 0, 2, u"0.4");
    EXPECT_EQ(w->Status().state, RunState::OutOfDate);
    EXPECT_NE(w->Results(), nullptr);  // still shown, marked
    EXPECT_FALSE(w->Commands()[ProjectCommand::Sheet]);
    EXPECT_EQ(w->WriteSheet(documents_), std::nullopt);

    w->Compute();
    w->SetCell(TableId::Receptors, 0, 0, u"远村");
    ASSERT_TRUE(Finished(*w));
    EXPECT_EQ(w->Status().state, RunState::OutOfDate);
    w->Compute();
    ASSERT_TRUE(Finished(*w));
    EXPECT_EQ(w->Status().state, RunState::Finished);
}

TEST_F(ProjectWindowTest, StopEndsTheRunAndRowsNotComputedSaySo) {
    auto w = Window(/*hold=*/true);
    TypeProject(*w);
    w->Compute();
    ASSERT_TRUE(window_.PumpUntil([&] { return runs_ > 0; }));
    w->Stop();
    EXPECT_FALSE(w->Commands()[ProjectCommand::Stop]);
    EXPECT_TRUE(w->Status().stopping);
    ASSERT_TRUE(Finished(*w));
    EXPECT_TRUE(w->Status().cancelled);
    ASSERT_NE(w->Results(), nullptr);
    for (const EmissionResultRow& row : w->Results()->emissions) {
        EXPECT_TRUE(row.error);
        EXPECT_NE(row.result.find(project::kNotComputedText), std::u16string::npos);
    }
    EXPECT_EQ(RunFoldersLeft(), 0);
}

TEST_F(ProjectWindowTest, ClosingDuringARunWaitsForItToComeBack) {
    auto w = Window(/*hold=*/true);
    TypeProject(*w);
    window_.savePath = appDir_ / "p.qvproj";
    ASSERT_TRUE(w->Save());
    w->Compute();
    EXPECT_FALSE(w->QueryClose());
    EXPECT_EQ(window_.closed, 0);
    ASSERT_TRUE(Finished(*w));
    EXPECT_EQ(window_.closed, 1);
}

TEST_F(ProjectWindowTest, TheBehaviourMayGoWhileARunIsOn) {
    auto w = Window(/*hold=*/true);
    TypeProject(*w);
    w->Compute();
    ASSERT_TRUE(window_.PumpUntil([&] { return runs_ > 0; }));
    w.reset();  // stops and joins; tasks posted meanwhile do nothing
    EXPECT_GT(window_.RunPending(), 0u);
    EXPECT_EQ(window_.closed, 0);
}

TEST_F(ProjectWindowTest, ComputeAndImportTellWhatStopsThem) {
    auto w = Window();
    w->Compute();
    EXPECT_EQ(window_.messages.back(), u"无法计算：污染物表中还没有排放。");
    TypeProject(*w);
    w->SetCell(TableId::Emissions, 1, 3, u"kg");
    w->Compute();
    EXPECT_EQ(w->Status().state, RunState::Idle);
    EXPECT_NE(window_.messages.back().find(u"污染物表第 2 行“单位”"), std::u16string::npos);

    window_.csvPath = appDir_ / u8"厂界.csv";
    std::ofstream(*window_.csvPath, std::ios::binary) << "x,y\r\n0,0\r\n300,0\r\n300,200\r\n";
    const std::optional<ImportedRange> range = w->ImportCsvFile();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->table, TableId::Boundary);
    EXPECT_EQ(range->rowCount, 3u);
    EXPECT_EQ(w->Tables().boundary.rows[2].cells[1], u"200");

    std::ofstream(*window_.csvPath, std::ios::binary) << "x,z\r\n";
    EXPECT_FALSE(w->ImportCsvFile());
    EXPECT_NE(window_.messages.back().find(u"“z”无法识别"), std::u16string::npos);
}

TEST_F(ProjectWindowTest, ThePlanFollowsEveryEditAndShowsTheDiscsOnlyForCurrentResults) {
    using project::FigurePart;
    auto w = Window();
    // Each source's control range: the combined field, when it comes, has a
    // plan of its own.
    w->SetPlanShows(PlanShows::PerSource);
    w->Refresh();
    EXPECT_EQ(window_.PlanItems(FigurePart::Source), 0u);
    TypeProject(*w);
    EXPECT_EQ(window_.PlanItems(FigurePart::Source), 2u);
    EXPECT_EQ(window_.PlanItems(FigurePart::Receptor), 1u);
    // A source whose width is not yet a number is left off; its neighbour stays.
    w->SetCell(TableId::Sources, 1, 6, u"40米");
    EXPECT_EQ(window_.PlanItems(FigurePart::Source), 1u);
    w->SetCell(TableId::Sources, 1, 6, u"40");
    w->Paste(TableId::Boundary, 0, 0, u"-100\t-100\r\n200\t-100\r\n200\t100\r\n");
    EXPECT_EQ(window_.PlanItems(FigurePart::Boundary), 1u);

    w->Compute();
    ASSERT_TRUE(Finished(*w));
    EXPECT_EQ(window_.PlanItems(FigurePart::Disc), 1u);  // S2 reaches no standard
    EXPECT_EQ(window_.PlanItems(FigurePart::ReceptorInside), 1u);
    w->SetCell(TableId::Receptors, 0, 1, u"900");
    EXPECT_EQ(window_.PlanItems(FigurePart::Disc), 0u);
    EXPECT_EQ(window_.PlanItems(FigurePart::Receptor), 1u);
}

TEST_F(ProjectWindowTest, APlanPictureIsKeptBesideTheProjectAndDrawnUnderTheFigure) {
    auto w = Window();
    TypeProject(*w);
    window_.savePath = appDir_ / u8"厂区" / u8"项目.qvproj";
    fs::create_directories(appDir_ / u8"厂区" / u8"图");
    ASSERT_TRUE(w->Save());
    const fs::path picture = appDir_ / u8"厂区" / u8"图" / u8"总图.png";
    std::ofstream(picture, std::ios::binary) << project::test_support::PngHeader(400, 300);

    w->SetPlanImage(picture);
    ASSERT_TRUE(w->Plan());
    EXPECT_EQ(w->Plan()->image, "图/总图.png");
    EXPECT_EQ(w->PlanImagePath(), picture);
    EXPECT_TRUE(w->IsDirty());
    EXPECT_TRUE(w->SetPlanPoint(0, {0, 0}, {-200, 150}));
    EXPECT_TRUE(w->SetPlanPoint(1, {400, 300}, {600, -450}));
    // Points that give no scale would make a file that does not open again.
    EXPECT_FALSE(w->SetPlanPoint(1, {0, 0}, {10, 10}));
    EXPECT_FALSE(w->SetPlanPoint(0, {5, 5}, {600, -450}));
    ASSERT_GE(window_.messages.size(), 2u);
    EXPECT_NE(window_.messages.back().find(u"同一个场地坐标"), std::u16string::npos);
    EXPECT_EQ(w->Plan()->points[1].site.x, 600);
    EXPECT_EQ(window_.PlanItems(project::FigurePart::Plan), 1u);
    EXPECT_TRUE(window_.plan.planProblem.empty());
    ASSERT_TRUE(w->Save());
    const Result<project::Project> saved = project::OpenProject(w->File());
    ASSERT_TRUE(saved);
    ASSERT_TRUE(saved.value().plan);
    EXPECT_EQ(saved.value().plan->points[1].site.x, 600);

    w->RemovePlan();
    EXPECT_EQ(window_.PlanItems(project::FigurePart::Plan), 0u);
    EXPECT_FALSE(w->PlanImagePath());
}

TEST_F(ProjectWindowTest, TheTargetDistanceIsKeptAsTypedAndItsLimitsAreShownAfterARun) {
    auto w = Window();
    TypeProject(*w);
    w->SetTargetDistance(u"二百");
    EXPECT_EQ(w->TargetDistanceText(), u"二百");
    EXPECT_FALSE(w->TargetDistanceProblem().empty());
    w->Compute();
    EXPECT_EQ(w->Status().state, RunState::Idle);
    ASSERT_FALSE(window_.messages.empty());
    EXPECT_NE(window_.messages.back().find(u"目标距离"), std::u16string::npos);
    w->SetTargetDistance(u"0");
    EXPECT_NE(w->TargetDistanceProblem().find(u"应大于 0"), std::u16string::npos);

    w->SetTargetDistance(u"200");
    EXPECT_TRUE(w->TargetDistanceProblem().empty());
    w->Compute();
    ASSERT_TRUE(Finished(*w));
    EXPECT_EQ(w->Status().text, u"计算完成。");
    bool limitsTold = false;
    for (const RunStatus& s : window_.statuses) {
        limitsTold = limitsTold || s.text.find(u"排放限值") != std::u16string::npos;
    }
    EXPECT_TRUE(limitsTold);
    const ResultsView* view = w->Results();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->limits.size(), 3u);  // every emission computed has its limits
    EXPECT_EQ(view->limits[0].rate, u"0.5 kg/hr");
    // S2 reaches no standard: it meets the target at its rate and needs no cut.
    EXPECT_NE(view->limits[2].distance.find(u"无需削减"), std::u16string::npos);
    EXPECT_EQ(view->limits[0].boundary, u"—");  // the project has no boundary
    EXPECT_EQ(ClipboardText(LimitResultsBlock(*view)).rfind(u"排放源\t污染物\t现排放率\t", 0), 0u);

    window_.savePath = appDir_ / u8"目标.qvproj";
    ASSERT_TRUE(w->Save());
    const Result<project::Project> saved = project::OpenProject(w->File());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.value().targetDistance, 200.0);
}

TEST_F(ProjectWindowTest, AnImportFromADrawingFillsTheTablesAndLiesUnderThePlan) {
    auto w = Window();
    w->Paste(TableId::Sources, 0, 0, u"S1\t罐区\t0\t0\t0\t5\t40\t60\r\n");
    std::optional<project::Project> current = w->ProjectForImport();
    ASSERT_TRUE(current);
    project::Project imported = *current;
    imported.sources.push_back({"S2", "车间", {50, 50}, 30, 8, 10, 20, {}});
    imported.cad = project::CadTie{
        "no such drawing.dxf", project::DrawingUnit::Metre, {0, 0}, 0, {"建筑"}, {}};
    w->TakeImport(imported);
    EXPECT_TRUE(w->IsDirty());
    EXPECT_EQ(w->Tables().sources.rows.size(), 2u);
    EXPECT_EQ(window_.PlanItems(project::FigurePart::Source), 2u);
    // A drawing that cannot be read is left out of the plan.
    EXPECT_EQ(window_.PlanItems(project::FigurePart::Drawing), 0u);

    // Saved elsewhere, the tie names the same drawing from there.
    window_.savePath = appDir_ / u8"厂区" / u8"项目.qvproj";
    fs::create_directories(appDir_ / u8"厂区");
    ASSERT_TRUE(w->Save());
    const Result<project::Project> saved = project::OpenProject(w->File());
    ASSERT_TRUE(saved);
    ASSERT_TRUE(saved.value().cad);
    EXPECT_EQ(saved.value().cad->layers, std::vector<std::string>{"建筑"});

    EXPECT_FALSE(w->OpenDrawingImport(appDir_ / "no such drawing.dxf", *current));
    ASSERT_FALSE(window_.messages.empty());
    EXPECT_NE(window_.messages.back().find(u"无法打开图形文件"), std::u16string::npos);
    w->SetCell(TableId::Sources, 0, 5, u"高");
    EXPECT_FALSE(w->ProjectForImport());
    EXPECT_NE(window_.messages.back().find(u"表格中有不能使用的单元格"), std::u16string::npos);
}

// The live field takes a pollutant's field from its file, read beside the
// project file: a project not saved yet cannot say where a relative name
// lies, and a file that cannot be used is that row's reason while the other
// pollutants are computed.
TEST_F(ProjectWindowTest, TheLiveFieldReadsFieldFilesBesideTheProject) {
    const fs::path folder = appDir_ / u8"项目";
    fs::create_directories(folder);
    // 苯 at 150 µg/m³ (half its standard) over 2 km around the plant.
    std::string csv = "x,y,浓度\n";
    for (int x = -1000; x <= 1000; x += 250) {
        for (int y = -1000; y <= 1000; y += 250)
            csv += std::to_string(x) + "," + std::to_string(y) + ",150\n";
    }
    std::ofstream(folder / u8"苯.csv", std::ios::binary) << csv;

    auto w = Window();
    TypeProject(*w);
    w->Paste(TableId::Boundary, 0, 0, u"-100\t-100\r\n100\t-100\r\n100\t100\r\n-100\t100\r\n");
    w->AddRows(TableId::Fields, 0);
    w->SetCell(TableId::Fields, 0, 0, u"苯");
    w->SetCell(TableId::Fields, 0, 1, u"苯.csv");
    const auto computed = [&] {
        return window_.PumpUntil([&] { return !w->FieldState().computing && w->Field(); });
    };
    const auto named = [&](const std::string& pollutant) {
        for (const project::PollutantFieldResult& p : w->Field()->pollutants)
            if (p.pollutant == pollutant) return p;
        ADD_FAILURE() << "no " << pollutant;
        return project::PollutantFieldResult{};
    };
    ASSERT_TRUE(computed());
    EXPECT_NE(named("苯").error.find(u"项目尚未保存"), std::u16string::npos);
    EXPECT_EQ(w->CellProblem(TableId::Fields, 0, 1), named("苯").error);
    EXPECT_TRUE(named("甲苯").error.empty());
    EXPECT_TRUE(named("甲苯").maxOutside);

    // Saved beside the file: the field is the file's, and the row is fine.
    window_.savePath = folder / "p.qvproj";
    ASSERT_TRUE(w->SaveAs());
    ASSERT_TRUE(computed());
    ASSERT_TRUE(named("苯").maxOutside) << ToUtf8(named("苯").error);
    EXPECT_EQ(named("苯").source, "苯.csv");
    EXPECT_NEAR(named("苯").maxOutside->c, 150.0, 1e-6);
    EXPECT_EQ(w->CellProblem(TableId::Fields, 0, 1), u"");

    // Saved elsewhere, the name follows so that it is still the same file.
    fs::create_directories(appDir_ / u8"另存");
    window_.savePath = appDir_ / u8"另存" / "q.qvproj";
    ASSERT_TRUE(w->SaveAs());
    EXPECT_EQ(w->Tables().fields.rows[0].cells[1], u"../项目/苯.csv");
    ASSERT_TRUE(computed());
    EXPECT_TRUE(named("苯").maxOutside) << ToUtf8(named("苯").error);

    // A file that is not there: its row says so; the others are computed.
    w->SetCell(TableId::Fields, 0, 1, u"没有.csv");
    ASSERT_TRUE(computed());
    EXPECT_NE(w->CellProblem(TableId::Fields, 0, 1).find(u"没有.csv"), std::u16string::npos)
        << ToUtf8(w->CellProblem(TableId::Fields, 0, 1));
    EXPECT_TRUE(named("甲苯").maxOutside);

    // The file dialog's choice: relative inside the project's folder, else absolute.
    EXPECT_EQ(w->SetFieldFile(9, appDir_ / u8"另存" / u8"场" / "x.grd"), 1u);
    EXPECT_EQ(w->Tables().fields.rows[1].cells[1], u"场/x.grd");
    w->SetFieldFile(1, folder / u8"苯.csv");
    const std::u8string absolute = (folder / u8"苯.csv").generic_u8string();
    EXPECT_EQ(w->Tables().fields.rows[1].cells[1],
              FromUtf8(std::string(absolute.begin(), absolute.end())));
}

}  // namespace
}  // namespace quorvel
