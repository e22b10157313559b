#include "ui/win32/plan_picture_commands.h"

// After windows.h, which it builds on:
#include <commdlg.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "ui/core/plan_picture_format.h"
#include "ui/win32/plan_pictures.h"
#include "ui/win32/wide_text.h"

namespace quorvel {
namespace {

// The save dialog's filters, in the order of PlanPictureFormat.
constexpr std::array kFilterFormats = {PlanPictureFormat::Png, PlanPictureFormat::Svg,
                                       PlanPictureFormat::Emf};
constexpr wchar_t kFilters[] =
    L"PNG 图片 (*.png)\0*.png\0SVG 图形 (*.svg)\0*.svg\0EMF 图元文件 (*.emf)\0*.emf\0";

HGLOBAL GlobalBytes(const std::string& bytes) {
    if (bytes.empty()) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) return nullptr;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return memory;
}

std::optional<std::filesystem::path> AskPicturePath(HWND owner, const std::u16string& suggested) {
    std::wstring file = Wide(suggested);
    file.resize(32768);
    const std::wstring title = Wide(kExportPlanTitle);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"png";  // the dialogs add the chosen filter's extension
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    const std::size_t filter =
        dialog.nFilterIndex >= 1 && dialog.nFilterIndex <= kFilterFormats.size()
            ? dialog.nFilterIndex - 1
            : 0;
    return WithPlanPictureExtension(std::filesystem::path(file.c_str()), kFilterFormats[filter]);
}

}  // namespace

bool CopyPlanPicture(HWND owner, const PlanView& plan) {
    RECT client{};
    GetClientRect(plan.window(), &client);
    // The view in points, as the plan's painter takes them at its dpi.
    const double pointPixels = plan.PointPixels();
    project::SiteView view = plan.view();
    view.scale /= pointPixels;
    const double width = client.right / pointPixels, height = client.bottom / pointPixels;

    HENHMETAFILE metafile = PlanMetafile(plan.painter(), view, width, height);
    const std::unique_ptr<Gdiplus::Bitmap> bitmap =
        PlanBitmap(plan.painter(), view, width, height, 2.0);
    HGLOBAL dib = bitmap ? PackedDib(*bitmap) : nullptr;
    HGLOBAL png = bitmap ? GlobalBytes(PngBytes(*bitmap)) : nullptr;
    const bool any = metafile != nullptr || dib != nullptr;
    if (!any || !OpenClipboard(owner)) {
        if (metafile != nullptr) DeleteEnhMetaFile(metafile);
        if (dib != nullptr) GlobalFree(dib);
        if (png != nullptr) GlobalFree(png);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns what it takes; what it refuses is freed here.
    if (metafile != nullptr && SetClipboardData(CF_ENHMETAFILE, metafile) == nullptr)
        DeleteEnhMetaFile(metafile);
    if (dib != nullptr && SetClipboardData(CF_DIB, dib) == nullptr) GlobalFree(dib);
    if (png != nullptr && SetClipboardData(RegisterClipboardFormatW(L"PNG"), png) == nullptr)
        GlobalFree(png);
    CloseClipboard();
    return true;
}

void ExportPlanPicture(HWND owner, const PlanView& plan, const std::u16string& suggestedName,
                       const std::function<void(std::u16string_view)>& showMessage) {
    const std::optional<std::filesystem::path> file = AskPicturePath(owner, suggestedName);
    if (!file) return;
    const Result<PlanPictureFormat> format = PlanPictureFormatOf(*file, true);
    if (!format) {
        showMessage(format.error());
        return;
    }
    const std::string bytes = PlanPageBytes(plan.painter(), format.value());
    if (bytes.empty()) {
        showMessage(PlanPictureProblem(*file, u"无法生成图片"));
        return;
    }
    if (const Status written = WritePlanPicture(*file, bytes); !written)
        showMessage(written.error());
}

}  // namespace quorvel
