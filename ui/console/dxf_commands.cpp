#include "ui/console/dxf_commands.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <system_error>

#include "calc/project/dxf/drawing_units.h"
#include "calc/project/dxf/dxf_reader.h"
#include "calc/project/dxf/layer_overview.h"
#include "calc/project/dxf/site_import.h"
#include "calc/project/files/project_file.h"
#include "calc/unicode_text.h"

namespace quorvel {
namespace {

namespace dxf = project::dxf;
namespace fs = std::filesystem;

constexpr int kDone = 0;
constexpr int kUnusable = 2;

constexpr char kUsage[] =
    "用法: quorvel-batch --list-layers PLAN.dxf\n"
    "      quorvel-batch --import-dxf PLAN.dxf --boundary-layer 图层 [--source-layer 图层 "
    "--height H] [--receptor-layer 图层] [--unit mm|cm|m] [--origin X,Y] [--north 角度] "
    "--save PROJECT.qvproj\n";

// The options that take a value, and the value given to each.
using Options = std::map<std::u16string, std::u16string>;

constexpr const char16_t* kValued[] = {
    u"--list-layers",    u"--import-dxf", u"--boundary-layer", u"--source-layer", u"--height",
    u"--receptor-layer", u"--unit",       u"--origin",         u"--north",        u"--save"};

Result<Options> ReadOptions(const std::vector<std::u16string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        bool known = false;
        for (const char16_t* name : kValued) known = known || argument == name;
        if (!known) {
            if (argument.starts_with(u"-")) return Fail(u"不认识的选项: " + argument);
            return Fail(u"多余的参数: " + argument);
        }
        if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
            return Fail(argument + u" 后面缺少值");
        }
        if (!options.emplace(argument, arguments[++i]).second) {
            return Fail(u"选项 " + argument + u" 只能给一次");
        }
    }
    return options;
}

std::optional<double> NumberOf(std::u16string_view text) {
    const std::string bytes = ToUtf8(text);
    double number = 0.0;
    const auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), number);
    if (error != std::errc() || end != bytes.data() + bytes.size() || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

const std::u16string* Find(const Options& options, const char16_t* name) {
    const auto found = options.find(name);
    return found == options.end() ? nullptr : &found->second;
}

int ListLayers(const fs::path& file, std::ostream& out, std::ostream& err) {
    const Result<dxf::Drawing> drawing = dxf::OpenDrawing(file);
    if (!drawing) {
        err << ToUtf8(drawing.error()) << "\n";
        return kUnusable;
    }
    const Result<std::vector<dxf::LayerSummary>> layers = dxf::LayerOverview(drawing.value());
    if (!layers) {
        err << "图形文件 " << ToUtf8(PathText(file)) << " 不能使用：" << ToUtf8(layers.error())
            << "\n";
        return kUnusable;
    }
    const std::optional<project::DrawingUnit> unit = dxf::ProposedUnit(drawing.value());
    out << "图形 " << ToUtf8(PathText(file)) << "（"
        << (drawing.value().version.empty() ? "版本不明" : drawing.value().version) << "，单位 "
        << (unit ? std::string(dxf::UnitName(*unit)) : std::string("未说明")) << "）\n";
    for (const dxf::LayerSummary& layer : layers.value()) {
        out << layer.name;
        if (layer.frozen) out << "（冻结）";
        if (layer.off) out << "（关闭）";
        out << "\t" << ToUtf8(dxf::CountsText(layer)) << "\n";
    }
    return kDone;
}

Result<dxf::ImportRequest> ReadRequest(const Options& options, const fs::path& drawing,
                                       const fs::path& project) {
    dxf::ImportRequest request;
    std::error_code error;
    request.file = dxf::TieFileName(drawing, fs::absolute(project, error).parent_path());
    const std::pair<const char16_t*, dxf::LayerRole> roles[] = {
        {u"--boundary-layer", dxf::LayerRole::Boundary},
        {u"--source-layer", dxf::LayerRole::Sources},
        {u"--receptor-layer", dxf::LayerRole::Receptors},
    };
    for (const auto& [name, role] : roles) {
        if (const std::u16string* layer = Find(options, name)) {
            request.layers.push_back(dxf::LayerChoice{ToUtf8(*layer), role});
        }
    }
    if (const std::u16string* height = Find(options, u"--height")) {
        request.sourceHeight = NumberOf(*height);
        if (!request.sourceHeight || !(*request.sourceHeight > 0.0)) {
            return Fail(u"--height 应为大于 0 的高度（m），而不是 " + *height);
        }
        if (Find(options, u"--source-layer") == nullptr) {
            return Fail(u"--height 是导入排放源的高度，要与 --source-layer 一起给出");
        }
    }
    if (const std::u16string* unit = Find(options, u"--unit")) {
        request.unit = dxf::UnitFromName(ToUtf8(*unit));
        if (!request.unit) return Fail(u"--unit 应为 mm、cm 或 m，而不是 " + *unit);
    }
    if (const std::u16string* origin = Find(options, u"--origin")) {
        const std::size_t comma = origin->find(u',');
        const std::optional<double> x =
            comma == std::u16string::npos ? std::nullopt : NumberOf(origin->substr(0, comma));
        const std::optional<double> y =
            comma == std::u16string::npos ? std::nullopt : NumberOf(origin->substr(comma + 1));
        if (!x || !y) return Fail(u"--origin 应写成 X,Y（图形单位），而不是 " + *origin);
        request.origin = project::SitePoint{*x, *y};
    }
    if (const std::u16string* north = Find(options, u"--north")) {
        request.northDeg = NumberOf(*north);
        if (!request.northDeg) return Fail(u"--north 应为角度（度），而不是 " + *north);
    }
    return request;
}

int ImportDxf(const Options& options, std::ostream& out, std::ostream& err) {
    const fs::path drawingFile = PathFromText(*Find(options, u"--import-dxf"));
    const std::u16string* save = Find(options, u"--save");
    if (save == nullptr) {
        err << "缺少 --save PROJECT.qvproj：导入的结果要保存到项目文件\n" << kUsage;
        return kUnusable;
    }
    const fs::path projectFile = PathFromText(*save);
    const Result<dxf::ImportRequest> request = ReadRequest(options, drawingFile, projectFile);
    if (!request) {
        err << ToUtf8(request.error()) << "\n" << kUsage;
        return kUnusable;
    }
    const Result<dxf::Drawing> drawing = dxf::OpenDrawing(drawingFile);
    if (!drawing) {
        err << ToUtf8(drawing.error()) << "\n";
        return kUnusable;
    }
    // An existing project is extended; a missing one is made.
    project::Project project;
    std::error_code error;
    const bool extending = fs::exists(projectFile, error);
    if (extending) {
        Result<project::Project> opened = project::OpenProject(projectFile);
        if (!opened) {
            err << ToUtf8(opened.error()) << "\n";
            return kUnusable;
        }
        project = std::move(opened).value();
    }
    const Result<dxf::ImportResult> imported =
        dxf::ImportDrawing(project, drawing.value(), request.value());
    if (!imported) {
        err << "图形文件 " << ToUtf8(PathText(drawingFile)) << " 不能导入："
            << ToUtf8(imported.error()) << "\n";
        return kUnusable;
    }
    const dxf::ImportResult& result = imported.value();
    for (const std::u16string& note : result.notes) out << "注意：" << ToUtf8(note) << "\n";
    if (const Status saved = project::SaveProject(projectFile, result.project); !saved) {
        err << ToUtf8(saved.error()) << "\n";
        return kUnusable;
    }
    out << (extending ? "已扩充项目 " : "已建立项目 ") << ToUtf8(PathText(projectFile)) << "："
        << (result.boundarySet ? "厂界 1 个，" : "") << "排放源 " << result.sourcesAdded
        << " 个，敏感目标 " << result.receptorsAdded << " 个\n";
    return kDone;
}

}  // namespace

std::optional<int> RunDxfCommand(const std::vector<std::u16string>& arguments, std::ostream& out,
                                 std::ostream& err) {
    bool named = false;
    for (const std::u16string& argument : arguments)
        named = named || argument == u"--list-layers" || argument == u"--import-dxf";
    if (!named) return std::nullopt;
    const Result<Options> options = ReadOptions(arguments);
    if (!options) {
        err << ToUtf8(options.error()) << "\n" << kUsage;
        return kUnusable;
    }
    const std::u16string* list = Find(options.value(), u"--list-layers");
    const bool import = Find(options.value(), u"--import-dxf") != nullptr;
    if (list != nullptr && (import || options.value().size() > 1)) {
        err << "--list-layers 只能单独使用\n" << kUsage;
        return kUnusable;
    }
    if (list != nullptr) return ListLayers(PathFromText(*list), out, err);
    return ImportDxf(options.value(), out, err);
}

std::optional<project::dxf::PlanDrawing> SheetDrawing(const project::Project& project,
                                                      const fs::path& projectFile,
                                                      std::ostream& err) {
    if (!project.cad) return std::nullopt;
    Result<dxf::PlanDrawing> drawing =
        dxf::LoadPlanDrawing(projectFile.parent_path(), *project.cad);
    if (!drawing) {
        err << ToUtf8(drawing.error()) << "，计算书中不画图形。\n";
        return std::nullopt;
    }
    return std::move(drawing).value();
}

}  // namespace quorvel
