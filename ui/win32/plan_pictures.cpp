#include "ui/win32/plan_pictures.h"

#include <objidl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace quorvel {
namespace {

double Within(double value, double low, double high) {
    return std::isfinite(value) ? std::clamp(value, low, high) : low;
}

// The class of GDI+'s PNG encoder; false when there is none.
bool PngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<unsigned char> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType != nullptr &&
            std::wcscmp(encoders[i].MimeType, L"image/png") == 0) {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

// All that a stream holds, from its start.
std::string StreamBytes(IStream& stream) {
    ULARGE_INTEGER size{};
    if (FAILED(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_END, &size)) || size.QuadPart == 0 ||
        size.QuadPart > 0x7fffffffu)
        return {};
    if (FAILED(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) return {};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    ULONG read = 0;
    if (FAILED(stream.Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) ||
        read != bytes.size())
        return {};
    return bytes;
}

}  // namespace

HENHMETAFILE PlanMetafile(const SiteFigureGdiplus& painter, const project::SiteView& view,
                          double width, double height) {
    width = Within(width, 1.0, 10000.0);
    height = Within(height, 1.0, 10000.0);
    HDC reference = GetDC(nullptr);
    if (reference == nullptr) return nullptr;
    HENHMETAFILE recorded = nullptr;
    {
        const Gdiplus::RectF frame(0, 0, static_cast<Gdiplus::REAL>(width),
                                   static_cast<Gdiplus::REAL>(height));
        Gdiplus::Metafile metafile(reference, frame, Gdiplus::MetafileFrameUnitPoint,
                                   Gdiplus::EmfTypeEmfPlusDual, L"Quorvel");
        if (metafile.GetLastStatus() == Gdiplus::Ok) {
            {
                Gdiplus::Graphics graphics(&metafile);
                // Painted in points: one point of the figure is 1/72 inch of
                // the reference device.
                graphics.SetPageUnit(Gdiplus::UnitPixel);
                const Gdiplus::REAL perPoint = graphics.GetDpiX() / 72.0f;
                graphics.ScaleTransform(perPoint, perPoint);
                const Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
                graphics.FillRectangle(&white, frame);
                painter.Paint(graphics, view, frame, 1.0);
            }
            recorded = metafile.GetHENHMETAFILE();
        }
    }
    ReleaseDC(nullptr, reference);
    return recorded;
}

std::unique_ptr<Gdiplus::Bitmap> PlanBitmap(const SiteFigureGdiplus& painter,
                                            const project::SiteView& view, double width,
                                            double height, double scale) {
    scale = Within(scale, 1.0, 8.0);
    const auto side = [scale](double points) {
        return static_cast<INT>(std::lround(Within(points * scale, 1.0, 16384.0)));
    };
    const INT pixelWidth = side(width), pixelHeight = side(height);
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(pixelWidth, pixelHeight, PixelFormat24bppRGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    const auto dpi = static_cast<Gdiplus::REAL>(72.0 * scale);
    bitmap->SetResolution(dpi, dpi);
    {
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        project::SiteView pixels = view;
        pixels.scale *= scale;
        painter.Paint(graphics, pixels,
                      Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(pixelWidth),
                                     static_cast<Gdiplus::REAL>(pixelHeight)),
                      scale);
    }
    return bitmap;
}

HGLOBAL PackedDib(Gdiplus::Bitmap& bitmap) {
    const UINT width = bitmap.GetWidth(), height = bitmap.GetHeight();
    if (width == 0 || height == 0) return nullptr;
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB, &data) !=
        Gdiplus::Ok)
        return nullptr;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = static_cast<LONG>(width);
    header.biHeight = static_cast<LONG>(height);  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride * height);
    header.biXPelsPerMeter =
        static_cast<LONG>(std::lround(bitmap.GetHorizontalResolution() / 0.0254));
    header.biYPelsPerMeter =
        static_cast<LONG>(std::lround(bitmap.GetVerticalResolution() / 0.0254));
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof header + stride * height);
    if (memory != nullptr) {
        if (auto* target = static_cast<unsigned char*>(GlobalLock(memory))) {
            std::memcpy(target, &header, sizeof header);
            const auto* rows = static_cast<const unsigned char*>(data.Scan0);
            for (UINT y = 0; y < height; ++y) {
                std::memcpy(target + sizeof header + (height - 1 - y) * stride,
                            rows + static_cast<std::ptrdiff_t>(y) * data.Stride, width * 3u);
            }
            GlobalUnlock(memory);
        } else {
            GlobalFree(memory);
            memory = nullptr;
        }
    }
    bitmap.UnlockBits(&data);
    return memory;
}

std::string PngBytes(Gdiplus::Bitmap& bitmap) {
    CLSID png{};
    if (!PngEncoder(png)) return {};
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) || stream == nullptr) return {};
    std::string bytes;
    if (bitmap.Save(stream, &png, nullptr) == Gdiplus::Ok) bytes = StreamBytes(*stream);
    stream->Release();
    return bytes;
}

std::string MetafileBytes(HENHMETAFILE metafile) {
    if (metafile == nullptr) return {};
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size == 0) return {};
    std::string bytes(size, '\0');
    if (GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bytes.data())) != size)
        return {};
    return bytes;
}

std::string PlanPageBytes(const SiteFigureGdiplus& painter, PlanPictureFormat format) {
    const PlanPage page = PlanPageOf(painter.figure());
    switch (format) {
        case PlanPictureFormat::Svg:
            return PlanSvgText(painter.figure());
        case PlanPictureFormat::Emf: {
            HENHMETAFILE metafile = PlanMetafile(painter, page.view, page.width, page.height);
            std::string bytes = MetafileBytes(metafile);
            if (metafile != nullptr) DeleteEnhMetaFile(metafile);
            return bytes;
        }
        case PlanPictureFormat::Png:
            break;
    }
    const std::unique_ptr<Gdiplus::Bitmap> bitmap =
        PlanBitmap(painter, page.view, page.width, page.height, kPlanPictureScale);
    return bitmap ? PngBytes(*bitmap) : std::string();
}

}  // namespace quorvel
