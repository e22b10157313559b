#pragma once
// The project window's class, command and control identifiers, shared with
// the tests that drive it from another process.

namespace quorvel {

inline constexpr wchar_t kProjectWindowClassName[] = L"QuorvelProjectWindow";

namespace project_window_ids {
inline constexpr int kCommand = 100;  // + ProjectCommand
inline constexpr int kPlanCommand = 120;
inline constexpr int kPlanPointCommand = 121;  // + the reference point's index, 0 or 1
inline constexpr int kImportDrawingCommand = 123;
inline constexpr int kExportDrawingCommand = 124;  // 导出DXF…
inline constexpr int kFieldFileCommand = 125;      // 浏览浓度场文件…
inline constexpr int kCopyPlanCommand = 130;       // 复制图
inline constexpr int kExportPlanCommand = 131;     // 导出图片…
enum Control {
    kToolbar = 200,
    kLocation,
    kDistance,
    kTableTabs,
    kAddRow,
    kDeleteRow,
    kResultTabs,
    kConclusion,
    kProgress,
    kStop,
    kStatus,
    kPlan,
    kPlanButton,
    kPlanShows,          // the plan's switch: 现行导则（全厂叠加） / 各源控制距离
    kPlanPollutant,      // the current rule's pollutant chooser
    kFieldSummary,       // the 现行导则 tab: distance, deciding pollutant, area, sides
    kFieldPollutants,    // the 现行导则 tab's table per pollutant
    kFieldReceptors,     // the 现行导则 tab's receptor table
    kFirstTable = 300,   // + TableId
    kFirstResult = 320,  // + emissions, sources, receptors, limits
};
}  // namespace project_window_ids

// The plan reference point dialog; its buttons are IDOK and IDCANCEL.
inline constexpr wchar_t kPlanReferenceClassName[] = L"QuorvelPlanReferenceDialog";

namespace plan_reference_ids {
enum Control { kPicture = 10, kPixel, kSiteX, kSiteY };
}  // namespace plan_reference_ids

// The 导入DXF… dialog; its buttons are IDOK and IDCANCEL.
inline constexpr wchar_t kDxfImportClassName[] = L"QuorvelDxfImportDialog";

namespace dxf_import_ids {
enum Control { kLayers = 10, kRole, kUnit, kHeight, kNorth, kPreview, kNotes };
}  // namespace dxf_import_ids

}  // namespace quorvel
