#pragma once
// The fonts of the window on Windows.

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvel {

// The face of the window's default font: the designed CJK face where it is
// installed, else the system's Chinese UI face, else another installed face
// with the GB2312 character set, else the system's message font.
std::wstring WindowFontFace();

// A normal-weight font of `points` points at `dpi` dots per inch with the
// GB2312 character set; the caller deletes it.
HFONT CreateCjkFont(const std::wstring& face, double points, UINT dpi, bool underline);

// The size in pixels of `text` on one line in `font`, measured on `control`'s
// screen.
SIZE TextExtent(HWND control, HFONT font, std::wstring_view text);

}  // namespace quorvel
