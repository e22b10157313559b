#pragma once
// The picture of the site plan: its bytes, what kind of picture they hold and
// its size, and the transform that places its pixels in site coordinates.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "calc/project/project.h"
#include "calc/result.h"

namespace quorvel::project {

enum class PictureFormat { Png, Jpeg };

// A plan picture as read from its file.
struct PlanPicture {
    std::string bytes;  // the whole file
    PictureFormat format = PictureFormat::Png;
    int pixelWidth = 0;   // pixels, above 0
    int pixelHeight = 0;  // pixels, above 0
};

// The picture's format by its magic bytes and its size from its header (the
// PNG IHDR chunk, the JPEG start-of-frame segment); a Chinese error text when
// the bytes are neither a PNG nor a JPEG picture or its header is cut short.
Result<PlanPicture> ReadPlanPicture(std::string bytes);

// The MIME type of the format: "image/png" or "image/jpeg".
std::string_view MimeType(PictureFormat format);

// An affine map from pixel coordinates (x right, y down) to site coordinates
// (m, x east, y north):
//   site.x = a * pixel.x + c * pixel.y + e
//   site.y = b * pixel.x + d * pixel.y + f
struct PixelToSite {
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = -1.0;
    double e = 0.0;
    double f = 0.0;
};

SitePoint Apply(const PixelToSite& transform, SitePoint pixel);

// The map that takes each of the two plan points' pixel to its site point:
// a scale, a rotation and an offset, with the picture's y axis turned to
// point north. A Chinese error text when the two pixels or the two site
// points coincide or a coordinate is not a finite number.
Result<PixelToSite> PlanTransform(const std::array<PlanPoint, 2>& points);

}  // namespace quorvel::project
