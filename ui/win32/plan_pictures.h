#pragma once
// The plan as pictures on Win32, painted by the plan's own GDI+ painter: an
// enhanced metafile (EMF+ records with plain EMF ones beside them, for
// programs that read only those), a bitmap, PNG bytes, and each format of
// 导出图片… as a file's bytes.

#include <windows.h>
// After windows.h, which they build on:
#include <gdiplus.h>

#include <memory>
#include <string>

#include "calc/project/sheet/site_view.h"
#include "ui/core/plan_picture_format.h"
#include "ui/win32/site_figure_gdiplus.h"

namespace quorvel {

// The figure as `view` (pt per m) maps it into a `width` x `height` pt area
// (each 1 to 10000, taken into that range), on white, recorded as an enhanced
// metafile whose frame is that size in points. Null when GDI+ cannot record;
// the caller owns the handle (DeleteEnhMetaFile).
HENHMETAFILE PlanMetafile(const SiteFigureGdiplus& painter, const project::SiteView& view,
                          double width, double height);

// The same area painted on white into a 24-bit bitmap at `scale` pixels per
// point (1 to 8), its resolution 72 × scale dpi; at most 16384 pixels a side.
// Null when GDI+ cannot make it.
std::unique_ptr<Gdiplus::Bitmap> PlanBitmap(const SiteFigureGdiplus& painter,
                                            const project::SiteView& view, double width,
                                            double height, double scale);

// The bitmap as a packed device-independent bitmap (BITMAPINFOHEADER, then
// bottom-up 24-bit rows) in movable global memory, as CF_DIB holds it; null
// on failure. The caller owns it until the clipboard takes it.
HGLOBAL PackedDib(Gdiplus::Bitmap& bitmap);

// The bitmap as a PNG file's bytes; empty on failure.
std::string PngBytes(Gdiplus::Bitmap& bitmap);

// The metafile as an .emf file's bytes; empty on failure.
std::string MetafileBytes(HENHMETAFILE metafile);

// The whole figure on an A4 page (PlanPageOf) as a file of `format`: PNG at
// kPlanPictureScale, SVG from the sheet's painter, or EMF. Empty when it
// cannot be made.
std::string PlanPageBytes(const SiteFigureGdiplus& painter, PlanPictureFormat format);

}  // namespace quorvel
