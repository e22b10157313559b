// 复制图 and 导出图片… of the project window's plan, driven from another
// process: what lands on the clipboard and in the files, read back here.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "ui/win32/project_window_ids.h"
#include "ui/win32/tests/window_driver.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
namespace ids = project_window_ids;
using test_support::AppDirCopy;
using test_support::BuiltAppDir;
using test_support::DocsDir;
using test_support::FileBytes;
using test_support::RunningWindow;

std::uint32_t LittleEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class PlanPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path project = dir_.path() / L"示例项目.qvproj";
        fs::copy_file(DocsDir() / "example.qvproj", project);
        window_ = std::make_unique<RunningWindow>(dir_.path() / "Quorvel.exe", project.wstring(),
                                                  kProjectWindowClassName);
        ASSERT_NE(window_->window(), nullptr) << "the project window did not open";
    }
    void Command(int id) const {
        PostMessageW(window_->window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    // 导出图片… into `file` through the save dialog; the name it offered.
    std::wstring ExportTo(const fs::path& file) const {
        Command(ids::kExportPlanCommand);
        HWND dialog = nullptr;
        if (!window_->WaitUntil(
                [&] { return (dialog = window_->FindWindowOfClass(L"#32770")) != nullptr; }, 20))
            return L"<no file dialog>";
        Sleep(500);
        constexpr int kFileNameBox = 0x47c;  // cmb13 of the common dialogs
        HWND name = GetDlgItem(dialog, kFileNameBox);
        if (name == nullptr) return L"<no file name box>";
        const std::wstring offered = window_->Text(name);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.wstring().c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        window_->WaitUntil([&] { return !IsWindow(dialog); }, 20);
        return offered;
    }

    AppDirCopy dir_{BuiltAppDir()};
    std::unique_ptr<RunningWindow> window_;
};

TEST_F(PlanPicturesTest, CopyLeavesTheShownPlanAsAMetafileAndABitmap) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    Command(ids::kCopyPlanCommand);
    ASSERT_TRUE(window_->WaitUntil(
        [] {
            return IsClipboardFormatAvailable(CF_ENHMETAFILE) && IsClipboardFormatAvailable(CF_DIB);
        },
        20))
        << "no metafile and bitmap on the clipboard";
    RECT plan{};
    GetClientRect(GetDlgItem(window_->window(), ids::kPlan), &plan);
    ASSERT_GT(plan.right, 100);
    ASSERT_TRUE(OpenClipboard(nullptr));

    // The metafile: the plan's size in points, drawn in EMF+ and in plain EMF.
    auto* metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    ASSERT_NE(metafile, nullptr);
    ENHMETAHEADER header{};
    ASSERT_NE(GetEnhMetaFileHeader(metafile, sizeof header, &header), 0u);
    EXPECT_GT(header.nBytes, 4000u);
    const double frameMm = (header.rclFrame.right - header.rclFrame.left) / 100.0;
    EXPECT_NEAR(frameMm, plan.right * 25.4 / 72.0, plan.right * 25.4 / 72.0 * 0.05);
    struct Counts {
        int plain = 0, comments = 0;
    } counts;
    EnumEnhMetaFile(
        nullptr, metafile,
        [](HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) -> int {
            auto* c = reinterpret_cast<Counts*>(data);
            if (record->iType == EMR_GDICOMMENT)
                ++c->comments;
            else if (record->iType != EMR_HEADER && record->iType != EMR_EOF)
                ++c->plain;
            return 1;
        },
        &counts, nullptr);
    EXPECT_GT(counts.comments, 0) << "no EMF+ records";
    // Wine's GDI+ records EMF+ alone whatever the type asked for; Windows'
    // records the plain EMF beside it.
    if (!UnderWine()) {
        EXPECT_GT(counts.plain, 10) << "no plain EMF records for programs without EMF+";
    }

    // The bitmap: twice the plan's pixels, and something drawn on the white.
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    const auto* info = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    ASSERT_NE(info, nullptr);
    EXPECT_NEAR(info->biWidth, 2 * plan.right, 2);
    EXPECT_NEAR(std::abs(info->biHeight), 2 * plan.bottom, 2);
    ASSERT_EQ(info->biBitCount, 24);
    const std::size_t stride = (static_cast<std::size_t>(info->biWidth) * 3 + 3) & ~std::size_t{3};
    ASSERT_GE(GlobalSize(dib), info->biSize + stride * std::abs(info->biHeight));
    const auto* pixels = reinterpret_cast<const unsigned char*>(info) + info->biSize;
    std::size_t drawn = 0;
    for (LONG y = 0; y < std::abs(info->biHeight); ++y) {
        for (LONG x = 0; x < info->biWidth; ++x) {
            const unsigned char* p = pixels + static_cast<std::size_t>(y) * stride + x * 3;
            if (p[0] < 200 || p[1] < 200 || p[2] < 200) ++drawn;
        }
    }
    EXPECT_GT(drawn, static_cast<std::size_t>(info->biWidth) * std::abs(info->biHeight) / 100)
        << "the bitmap is blank";
    GlobalUnlock(dib);
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"PNG")));
    CloseClipboard();
}

TEST_F(PlanPicturesTest, ExportWritesTheWholePlanAsEmfPngOrSvgForAnA4Page) {
    const fs::path emf = dir_.path() / L"厂区图.emf";
    EXPECT_EQ(ExportTo(emf), L"示例化工项目-厂区图.png");
    ASSERT_TRUE(window_->WaitUntil([&] { return fs::exists(emf); }, 20)) << "no metafile";
    const std::string metafile = FileBytes(emf);
    ASSERT_GT(metafile.size(), 4000u);
    EXPECT_EQ(LittleEndian32(metafile, 0), 1u) << "EMR_HEADER first";
    EXPECT_EQ(metafile.substr(40, 4), " EMF");
    // The frame (0.01 mm): 454 pt wide, the text width of an A4 page.
    const auto left = static_cast<std::int32_t>(LittleEndian32(metafile, 24));
    const auto right = static_cast<std::int32_t>(LittleEndian32(metafile, 32));
    EXPECT_NEAR((right - left) / 100.0, 454 * 25.4 / 72, 2.0);

    const fs::path png = dir_.path() / L"厂区图.PNG";
    ExportTo(png);
    ASSERT_TRUE(window_->WaitUntil([&] { return fs::exists(png); }, 20)) << "no PNG";
    const std::string image = FileBytes(png);
    ASSERT_GT(image.size(), 24u);
    EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(BigEndian32(image, 16), 454u * 4u) << "454 pt at 4 px a point";
    EXPECT_GT(BigEndian32(image, 20), 454u * 4u / 2u);

    const fs::path svg = dir_.path() / L"厂区图.svg";
    ExportTo(svg);
    ASSERT_TRUE(window_->WaitUntil([&] { return fs::exists(svg); }, 20)) << "no SVG";
    const std::string text = FileBytes(svg);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("</svg>"), std::string::npos);
    EXPECT_NE(text.find(">S1"), std::string::npos) << "the sources named";

    // A format it cannot write: refused, naming the file; nothing written.
    const fs::path jpeg = dir_.path() / L"厂区图.jpg";
    ExportTo(jpeg);
    const std::optional<std::wstring> message = window_->WaitForMessage(20);
    ASSERT_TRUE(message.has_value()) << "no message";
    EXPECT_NE(message->find(L"厂区图.jpg"), std::wstring::npos);
    window_->CloseMessage();
    EXPECT_FALSE(fs::exists(jpeg));
}

}  // namespace
}  // namespace quorvel
