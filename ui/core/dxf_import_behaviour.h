#pragma once
// The 导入DXF… dialog's decisions, toolkit-free: the drawing's layers with
// what each holds and what the user wants of it, the unit (the drawing's
// proposal, or the project's tie), the height of the imported sources, the
// north angle, and at every change the preview of what the import adds and
// its notes. A front end shows these and, on 确定, takes Imported().

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/project/dxf/dxf_drawing.h"
#include "calc/project/dxf/plan_drawing.h"
#include "calc/project/dxf/site_import.h"
#include "calc/project/project.h"
#include "calc/project/sheet/site_figure.h"
#include "calc/result.h"

namespace quorvel {

inline constexpr char16_t kDxfImportTitle[] = u"导入DXF";
inline constexpr char16_t kDxfImportCommand[] = u"导入DXF…";
// The choice per layer, indexed by dxf::LayerRole.
inline constexpr std::array<std::u16string_view, 4> kLayerRoleTexts = {u"不导入", u"厂界",
                                                                       u"排放源", u"敏感目标"};
// The unit list, indexed by DrawingUnit.
inline constexpr std::array<std::u16string_view, 3> kDrawingUnitTexts = {u"mm", u"cm", u"m"};
inline constexpr char16_t kLayerColumnTitles[][8] = {u"图层", u"图元", u"用途"};
inline constexpr char16_t kUnitLabel[] = u"图形单位:";
inline constexpr char16_t kHeightLabel[] = u"排放源高度 (m):";
inline constexpr char16_t kNorthLabel[] = u"北向角 (度):";
inline constexpr char16_t kDefaultSourceHeight[] = u"10";

struct DxfLayerRow {
    std::u16string name;    // with "（冻结）" or "（关闭）" after it when so
    std::u16string counts;  // "LWPOLYLINE 3，TEXT 2"
    project::dxf::LayerRole role = project::dxf::LayerRole::None;
};

class DxfImportBehaviour {
  public:
    // Reads `drawing` for an import into `current`, whose file lies in
    // `projectFolder` (empty for a project not saved yet: the tie then names
    // the drawing by its absolute path). The message names the file when the
    // drawing cannot be used.
    static Result<DxfImportBehaviour> Open(const std::filesystem::path& drawing,
                                           const project::Project& current,
                                           const std::filesystem::path& projectFolder);

    const std::vector<DxfLayerRow>& Layers() const { return rows_; }
    void SetRole(std::size_t row, project::dxf::LayerRole role);

    // The unit chosen; nullopt while the drawing does not say and the user
    // has not chosen. Fixed (not to be changed) when the project has a tie.
    std::optional<project::DrawingUnit> Unit() const { return unit_; }
    bool UnitFixed() const { return current_.cad.has_value(); }
    void SetUnit(project::DrawingUnit unit);
    // The height of the imported sources (m) and the north angle (degrees),
    // as typed.
    const std::u16string& HeightText() const { return height_; }
    void SetHeight(std::u16string text);
    const std::u16string& NorthText() const { return north_; }
    void SetNorth(std::u16string text);

    // The plan as it will be: the project with what the import adds and the
    // drawing under it; the project as it is while the import cannot be made.
    const project::SiteFigure& Preview() const { return preview_; }
    // The import's notes, or why it cannot be made.
    const std::vector<std::u16string>& Notes() const { return notes_; }
    // True when 确定 may be pressed.
    bool CanAccept() const { return imported_.has_value(); }
    // The project with the import; only when CanAccept().
    const project::Project& Imported() const { return *imported_; }

  private:
    DxfImportBehaviour() = default;
    void Update();

    project::dxf::Drawing drawing_;
    project::Project current_;
    std::string tieFile_;
    std::vector<DxfLayerRow> rows_;
    std::vector<std::string> layerNames_;  // as the drawing spells them, by row
    std::optional<project::DrawingUnit> unit_;
    std::u16string height_ = kDefaultSourceHeight;
    std::u16string north_ = u"0";
    project::SiteFigure preview_;
    std::vector<std::u16string> notes_;
    std::optional<project::Project> imported_;
};

}  // namespace quorvel
