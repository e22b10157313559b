#include "ui/win32/cjk_font.h"

#include <cmath>

#include "ui/core/form1_design.h"
#include "ui/win32/wide_text.h"

namespace quorvel {
namespace {

int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) {
    // Vertical faces ("@...") are for vertical writing only.
    if (font->lfFaceName[0] == L'@') return 1;
    *reinterpret_cast<std::wstring*>(found) = font->lfFaceName;
    return 0;
}

// An installed face named `face` (empty: any) with the character set `charset`.
std::wstring InstalledFace(const std::wstring& face, BYTE charset) {
    LOGFONTW wanted{};
    wanted.lfCharSet = charset;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    std::wstring found;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

std::wstring WindowFontFace() {
    // The system's Chinese UI font follows the designed face.
    for (const std::wstring& face :
         {Wide(kCjkFace), Wide(kCjkFaceLatinName), std::wstring(L"Microsoft YaHei UI")}) {
        if (!InstalledFace(face, GB2312_CHARSET).empty()) return face;
    }
    if (std::wstring any = InstalledFace(L"", GB2312_CHARSET); !any.empty()) return any;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont.lfFaceName;
}

HFONT CreateCjkFont(const std::wstring& face, double points, UINT dpi, bool underline) {
    const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                       GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

SIZE TextExtent(HWND control, HFONT font, std::wstring_view text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

}  // namespace quorvel
