#include "ui/console/batch_tool.h"

#include <memory>
#include <optional>

#include "calc/project/dxf/result_drawing.h"
#include "calc/project/field/compute_field.h"
#include "calc/project/field/field_out.h"
#include "calc/project/files/atomic_file.h"
#include "calc/project/files/project_file.h"
#include "calc/project/files/results_file.h"
#include "calc/project/limits/emission_limits.h"
#include "calc/project/sheet/plan_picture_file.h"
#include "calc/project/sheet/project_sheet.h"
#include "calc/unicode_text.h"
#include "ui/console/batch_report.h"
#include "ui/console/dxf_commands.h"
#include "ui/console/field_report.h"

namespace quorvel {
namespace {

constexpr char kUsage[] =
    "用法: quorvel-batch PROJECT.qvproj [--results FILE.json|-] [--sheet FILE.html] "
    "[--no-limits] [--no-field] [--dxf FILE.dxf] [--field-out FOLDER]\n";

struct ToolArguments {
    std::filesystem::path project;
    std::optional<std::u16string> results;  // a file, or "-" for standard output
    std::optional<std::filesystem::path> sheet;
    std::optional<std::filesystem::path> dxf;  // the result drawing
    bool limits = true;
    bool field = true;                              // the combined field and the current rule
    std::optional<std::filesystem::path> fieldOut;  // each pollutant's field as DSAA and CSV
};

// The arguments, or an error text for a command line that cannot be used.
Result<ToolArguments> ReadArguments(const std::vector<std::u16string>& arguments) {
    ToolArguments read;
    bool haveProject = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (argument == u"--results" || argument == u"--sheet" || argument == u"--dxf" ||
            argument == u"--field-out") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                return Fail(argument + u" 后面缺少文件名");
            }
            const std::u16string& value = arguments[++i];
            if (argument == u"--results")
                read.results = value;
            else if (argument == u"--dxf")
                read.dxf = PathFromText(value);
            else if (argument == u"--sheet")
                read.sheet = PathFromText(value);
            else
                read.fieldOut = PathFromText(value);
        } else if (argument == u"--no-limits") {
            read.limits = false;
        } else if (argument == u"--no-field") {
            read.field = false;
        } else if (argument.starts_with(u"-") && argument != u"-") {
            return Fail(u"不认识的选项: " + argument);
        } else if (!haveProject) {
            read.project = PathFromText(argument);
            haveProject = true;
        } else {
            return Fail(u"只能给出一个项目文件");
        }
    }
    if (!haveProject) return Fail(u"缺少项目文件");
    if (read.fieldOut && !read.field) return Fail(u"--field-out 不能与 --no-field 同用");
    return read;
}

}  // namespace

int RunBatchTool(const std::vector<std::u16string>& arguments, const std::filesystem::path& appDir,
                 const project::LauncherFactory& makeLauncher, std::ostream& out,
                 std::ostream& err) {
    if (const std::optional<int> drawing = RunDxfCommand(arguments, out, err)) return *drawing;
    const Result<ToolArguments> read = ReadArguments(arguments);
    if (!read) {
        err << ToUtf8(read.error()) << "\n" << kUsage;
        return kBatchUnusable;
    }
    const ToolArguments& tool = read.value();
    const Result<project::Project> opened = project::OpenProject(tool.project);
    if (!opened) {
        err << ToUtf8(opened.error()) << "\n";
        return kBatchUnusable;
    }
    const project::Project& project = opened.value();
    if (tool.fieldOut) {
        // A folder that cannot be written is found before the long run.
        if (const Status ready = project::PrepareFieldFolder(*tool.fieldOut); !ready) {
            err << ToUtf8(ready.error()) << "\n";
            return kBatchUnusable;
        }
    }
    const bool resultsToOut = tool.results && *tool.results == u"-";
    std::ostream& report = resultsToOut ? err : out;

    const project::ProgressCallback progress = [&](const project::BatchProgress& step) {
        if (step.result == nullptr) return;
        report << ProgressLine(step.done, step.total, project, *step.result) << std::endl;
    };
    project::BatchRun run =
        project::RunProject(project, project::BatchSettings{appDir, 0}, makeLauncher, progress);
    project::ProjectResults& results = run.results;
    report << "\n" << SummaryTable(project, results) << std::flush;
    bool written = true;
    if (tool.field) {
        const std::unique_ptr<project::ProjectFields> prepared =
            project::PrepareFields(project, tool.project.parent_path());
        results.field = project::ComputeField(project, *prepared);
        report << "\n" << FieldTable(*results.field) << std::flush;
        if (tool.fieldOut) {
            const auto files = project::WriteFieldGrids(
                *tool.fieldOut, project::SampleFields(*prepared, project, *results.field));
            if (files) {
                report << "浓度场已写入 " << ToUtf8(PathText(*tool.fieldOut)) << "（"
                       << files.value().size() << " 个文件）\n";
            } else {
                err << ToUtf8(files.error()) << "\n";
                written = false;
            }
        }
    }
    if (tool.limits) {
        report << "\n计算排放限值…" << std::endl;
        std::size_t runs = 0;
        project::ComputeLimits(project, results, project::PoolSettings{appDir, 0}, makeLauncher,
                               [&runs](std::size_t done) { runs = done; });
        report << "排放限值（" << runs << " 次计算）:\n"
               << LimitsTable(project, results) << std::flush;
    }

    if (tool.results) {
        const std::string json = project::ResultsJson(results);
        if (resultsToOut) {
            out << json << std::flush;
        } else if (const Status saved = WriteFileAtomically(PathFromText(*tool.results), json);
                   !saved) {
            err << ToUtf8(saved.error()) << "\n";
            written = false;
        }
    }
    if (tool.sheet) {
        std::optional<project::PlanPicture> picture;
        if (project.plan) {
            Result<project::PlanPicture> loaded =
                project::LoadPlanPicture(tool.project.parent_path(), *project.plan);
            if (loaded)
                picture = std::move(loaded).value();
            else
                err << ToUtf8(loaded.error()) << "，计算书中不画平面图。\n";
        }
        const std::optional<project::dxf::PlanDrawing> drawing =
            SheetDrawing(project, tool.project, err);
        const std::string html =
            project::ProjectSheetHtml(project, results, picture, drawing ? &*drawing : nullptr);
        if (const Status saved = WriteFileAtomically(*tool.sheet, html); !saved) {
            err << ToUtf8(saved.error()) << "\n";
            written = false;
        }
    }
    if (tool.dxf) {
        if (const Status saved = project::dxf::WriteResultDrawing(*tool.dxf, project, results);
            !saved) {
            err << "结果图形（DXF）未写出：" << ToUtf8(saved.error()) << "\n";
            written = false;
        }
    }

    std::size_t failed = 0;
    for (const project::EmissionResult& emission : results.emissions) {
        if (emission.outcome == project::EmissionOutcome::Error) ++failed;
    }
    if (failed > 0) {
        err << failed << " 项排放计算出错，错误信息见结果文件或上面各行。\n";
    }
    return failed > 0 || !written ? kBatchSomeFailed : kBatchAllComputed;
}

}  // namespace quorvel
