#include "calc/project/sheet/plan_picture.h"

#include <cmath>
#include <complex>
#include <cstddef>
#include <utility>

namespace quorvel::project {
namespace {

constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";

unsigned Byte(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// A big-endian unsigned number of `count` bytes (at most 4) at `at`; the
// caller has checked that the bytes are there.
std::uint32_t BigEndian(const std::string& bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value = (value << 8) | Byte(bytes, at + i);
    return value;
}

Result<PlanPicture> Sized(std::string bytes, PictureFormat format, std::uint32_t width,
                          std::uint32_t height) {
    // PNG allows 2^31 - 1 pixels a side; JPEG 65535.
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) {
        return Fail(u"平面图的图片尺寸无效");
    }
    return PlanPicture{std::move(bytes), format, static_cast<int>(width), static_cast<int>(height)};
}

Result<PlanPicture> ReadPng(std::string bytes) {
    // Signature, then the IHDR chunk: length (4), "IHDR", width (4), height (4).
    if (bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0) {
        return Fail(u"平面图的 PNG 图片头不完整");
    }
    const std::uint32_t width = BigEndian(bytes, 16, 4);
    const std::uint32_t height = BigEndian(bytes, 20, 4);
    return Sized(std::move(bytes), PictureFormat::Png, width, height);
}

bool IsStartOfFrame(unsigned marker) {
    // C0 to CF, except C4 (Huffman tables), C8 (reserved) and CC (arithmetic coding).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool StandsAlone(unsigned marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);  // TEM, RST0 to RST7
}

Result<PlanPicture> ReadJpeg(std::string bytes) {
    std::size_t at = 2;  // after the start-of-image marker
    while (at + 1 < bytes.size()) {
        if (Byte(bytes, at) != 0xFF) break;
        const unsigned marker = Byte(bytes, at + 1);
        if (marker == 0xFF) {  // a fill byte before the marker
            ++at;
            continue;
        }
        at += 2;
        if (StandsAlone(marker)) continue;
        if (marker == 0xD9 || marker == 0xDA) break;  // end of image, start of scan
        if (at + 2 > bytes.size()) break;
        const std::size_t length = BigEndian(bytes, at, 2);  // counts itself
        if (length < 2) break;
        if (IsStartOfFrame(marker)) {
            // Length (2), precision (1), height (2), width (2).
            if (length < 7 || at + 7 > bytes.size()) break;
            const std::uint32_t height = BigEndian(bytes, at + 3, 2);
            const std::uint32_t width = BigEndian(bytes, at + 5, 2);
            return Sized(std::move(bytes), PictureFormat::Jpeg, width, height);
        }
        at += length;
    }
    return Fail(u"平面图的 JPEG 图片中找不到图片尺寸");
}

bool Finite(SitePoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

Result<PlanPicture> ReadPlanPicture(std::string bytes) {
    if (bytes.starts_with(kPngSignature)) return ReadPng(std::move(bytes));
    if (bytes.size() >= 3 && Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xD8 &&
        Byte(bytes, 2) == 0xFF) {
        return ReadJpeg(std::move(bytes));
    }
    return Fail(u"平面图不是 PNG 或 JPEG 图片");
}

std::string_view MimeType(PictureFormat format) {
    return format == PictureFormat::Jpeg ? "image/jpeg" : "image/png";
}

SitePoint Apply(const PixelToSite& t, SitePoint pixel) {
    return {t.a * pixel.x + t.c * pixel.y + t.e, t.b * pixel.x + t.d * pixel.y + t.f};
}

Result<PixelToSite> PlanTransform(const std::array<PlanPoint, 2>& points) {
    for (const PlanPoint& point : points) {
        if (!Finite(point.pixel) || !Finite(point.site)) {
            return Fail(u"平面图的对应点坐标不是有效数字");
        }
    }
    // As complex numbers, with the pixel's y turned to point up, the map is
    // site = k * pixel + offset; k holds the scale and the rotation.
    using Complex = std::complex<double>;
    const Complex pixel1(points[0].pixel.x, -points[0].pixel.y);
    const Complex pixel2(points[1].pixel.x, -points[1].pixel.y);
    const Complex site1(points[0].site.x, points[0].site.y);
    const Complex site2(points[1].site.x, points[1].site.y);
    if (pixel1 == pixel2) return Fail(u"平面图的两个对应点是同一个像素");
    if (site1 == site2) return Fail(u"平面图的两个对应点是同一个厂区坐标");
    const Complex k = (site2 - site1) / (pixel2 - pixel1);
    const Complex offset = site1 - k * pixel1;
    if (!std::isfinite(k.real()) || !std::isfinite(k.imag()) || !std::isfinite(offset.real()) ||
        !std::isfinite(offset.imag())) {
        return Fail(u"平面图的对应点坐标不是有效数字");
    }
    // site.x + i site.y = (kr + i ki)(px - i py) + offset.
    return PixelToSite{k.real(), k.imag(), k.imag(), -k.real(), offset.real(), offset.imag()};
}

}  // namespace quorvel::project
