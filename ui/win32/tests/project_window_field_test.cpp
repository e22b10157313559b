// The project window's combined field under the current rule, driven from
// another process: the plan's switch and pollutant chooser change what the
// plan paints, the 现行导则 tab lists the pollutants and the receptors, the
// conclusion carries the rule's sentences, the pointer's value shows in the
// status bar, and an edit computes the field again.
//
// With QUORVEL_WINDOW_PICTURES naming a folder, the whole window is saved
// there as area.bmp (all pollutants with the protection area) and
// contours.bmp (one pollutant's contours), for the documentation.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on:
#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/cjk_font.h"
#include "ui/win32/project_window_ids.h"
#include "ui/win32/tests/remote_lists.h"
#include "ui/win32/tests/window_driver.h"
#include "ui/win32/window_dpi.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
namespace ids = project_window_ids;
using test_support::AppDirCopy;
using test_support::BuiltAppDir;
using test_support::CellText;
using test_support::DocsDir;
using test_support::PressKeys;
using test_support::RowCount;
using test_support::RunningWindow;
using test_support::StatusPartRect;
using test_support::TabRect;

constexpr double kFieldSeconds = 120;

// The example project: five pollutants, two receptors, a boundary.
constexpr int kPollutants = 5;
constexpr int kReceptors = 2;

// The screen's pixels under `window` (its whole rectangle on the screen), top row first,
// as 0x00RRGGBB.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

Picture Capture(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    // A maximized window's frame lies past the screen, which has no pixels there.
    const RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&rect, &rect, &screenRect);
    Picture picture{rect.right - rect.left, rect.bottom - rect.top, {}};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    picture.pixels.assign(first, first + static_cast<std::size_t>(picture.width) *
                                             static_cast<std::size_t>(picture.height));
    for (std::uint32_t& pixel : picture.pixels) pixel &= 0xffffff;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// Pixels that differ clearly between two pictures of the same size.
int ChangedPixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int changed = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        int difference = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int x = static_cast<int>((a.pixels[i] >> shift) & 0xff);
            const int y = static_cast<int>((b.pixels[i] >> shift) & 0xff);
            difference += x > y ? x - y : y - x;
        }
        if (difference > 48) ++changed;
    }
    return changed;
}

// `picture` as a 32-bit BMP file.
void SaveBmp(const Picture& picture, const fs::path& file) {
    const auto imageBytes = static_cast<DWORD>(picture.pixels.size() * 4);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4d42;  // "BM"
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + imageBytes;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = -picture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(picture.pixels.data()), imageBytes);
}

// A status bar part's text, read through memory of the window's process.
std::wstring StatusPart(HANDLE process, HWND bar, int part) {
    constexpr std::size_t kChars = 512;
    auto* remote = static_cast<wchar_t*>(VirtualAllocEx(process, nullptr, kChars * sizeof(wchar_t),
                                                        MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) return L"<no memory>";
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
    std::wstring text(kChars, L'\0');
    if (length < kChars) {
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, text.data(), kChars * sizeof(wchar_t), nullptr);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    text.resize(length < kChars ? length : 0);
    return text;
}

// Keys down (false) and up (true) through the system's input, at once.
void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
    std::vector<INPUT> inputs;
    for (const auto& [key, up] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

class ProjectWindowFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        project_ = dir_.path() / L"示例项目.qvproj";
        fs::copy_file(DocsDir() / "example.qvproj", project_);
        window_ = std::make_unique<RunningWindow>(dir_.path() / "Quorvel.exe", project_.wstring(),
                                                  kProjectWindowClassName);
        ASSERT_NE(window_->window(), nullptr) << "the project window did not open";
        ShowWindow(window_->window(), SW_MAXIMIZE);
        ASSERT_TRUE(WaitForField()) << "no field: " << Narrow(Text(ids::kFieldSummary));
    }
    HWND Item(int id) const { return GetDlgItem(window_->window(), id); }
    std::wstring Text(int id) const { return window_->Text(Item(id)); }
    static std::string Narrow(const std::wstring& text) {
        std::string narrow;
        for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
        return narrow;
    }
    // The field is shown and none is being computed.
    bool WaitForField() const {
        return window_->WaitUntil(
            [&] {
                return Text(ids::kFieldSummary).starts_with(L"防护距离：") &&
                       window_->Text(Item(ids::kPlan)).empty();
            },
            kFieldSeconds);
    }
    std::wstring Cell(int list, int row, int column) const {
        return CellText(window_->process(), Item(list), row, column);
    }
    // The user's choice in one of the plan's drop-down lists.
    void Choose(int id, int index) const {
        SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(window_->window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(id)));
    }
    void ClickTab(int id, int index) const {
        const RECT tab = TabRect(window_->process(), Item(id), index);
        window_->ClickAt(Item(id), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    }
    Picture Plan() const {
        UpdateWindow(Item(ids::kPlan));
        Sleep(300);
        return Capture(Item(ids::kPlan));
    }
    void SavePictureIfAsked(const char* name) const {
        const char* folder = std::getenv("QUORVEL_WINDOW_PICTURES");
        if (folder == nullptr || *folder == '\0') return;
        Sleep(500);
        SaveBmp(Capture(window_->window()), fs::path(folder) / (std::string(name) + ".bmp"));
    }
    std::wstring ComboItem(int id, int index) const {
        wchar_t text[128] = {};
        const auto length = SendMessageW(Item(id), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0 || length >= 128) return L"";
        SendMessageW(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text));
        return text;
    }

    AppDirCopy dir_{BuiltAppDir()};
    fs::path project_;
    std::unique_ptr<RunningWindow> window_;
};

TEST_F(ProjectWindowFieldTest, ShowsTheCurrentRuleOnThePlanAndInItsTab) {
    // The 现行导则 tab: a row per pollutant, a row per receptor and pollutant
    // with its share of the standard, and the rule's sentences in the conclusion.
    ClickTab(ids::kResultTabs, 4);
    EXPECT_TRUE(IsWindowVisible(Item(ids::kFieldReceptors)));
    ASSERT_EQ(RowCount(Item(ids::kFieldPollutants)), kPollutants);
    EXPECT_EQ(Cell(ids::kFieldPollutants, 0, 0), L"非甲烷总烃");
    for (int row = 0; row < kPollutants; ++row)
        EXPECT_NE(Cell(ids::kFieldPollutants, row, 3), L"") << row;
    ASSERT_EQ(RowCount(Item(ids::kFieldReceptors)), kReceptors * kPollutants);
    EXPECT_EQ(Cell(ids::kFieldReceptors, 0, 0), L"王家村");
    for (int row = 0; row < kReceptors * kPollutants; ++row) {
        const std::wstring ratio = Cell(ids::kFieldReceptors, row, 4);
        EXPECT_NE(ratio.find(L'.'), std::wstring::npos) << row << ": " << Narrow(ratio);
    }
    EXPECT_NE(Text(ids::kConclusion).find(L"现行导则（全厂叠加）："), std::wstring::npos);

    // The chooser: all pollutants first, then each pollutant.
    ASSERT_EQ(SendMessageW(Item(ids::kPlanPollutant), CB_GETCOUNT, 0, 0), kPollutants + 1);
    EXPECT_EQ(ComboItem(ids::kPlanPollutant, 0), L"全部污染物及防护区域");
    EXPECT_EQ(ComboItem(ids::kPlanPollutant, 1), L"非甲烷总烃");
    EXPECT_TRUE(IsWindowEnabled(Item(ids::kPlanPollutant)));
    EXPECT_EQ(SendMessageW(Item(ids::kPlanShows), CB_GETCURSEL, 0, 0), 0);
    SavePictureIfAsked("area");

    // The switch: each source's range paints something else, and the chooser
    // is off; back to the current rule paints what it did.
    const Picture area = Plan();
    Choose(ids::kPlanShows, 1);
    EXPECT_FALSE(IsWindowEnabled(Item(ids::kPlanPollutant)));
    const Picture perSource = Plan();
    EXPECT_GT(ChangedPixels(area, perSource), 500);
    Choose(ids::kPlanShows, 0);
    EXPECT_TRUE(IsWindowEnabled(Item(ids::kPlanPollutant)));
    EXPECT_LT(ChangedPixels(area, Plan()), 50);

    // One pollutant's contours instead of the protection area.
    Choose(ids::kPlanPollutant, 1);
    const Picture contours = Plan();
    EXPECT_GT(ChangedPixels(area, contours), 500);
    SavePictureIfAsked("contours");

    // The pointer over the plan: the chosen pollutant's value beside the coordinates.
    RECT plan{};
    GetClientRect(Item(ids::kPlan), &plan);
    window_->ClickAt(Item(ids::kPlan), {plan.right / 2, plan.bottom / 2});
    window_->ClickAt(Item(ids::kPlan), {plan.right / 2 + 3, plan.bottom / 2 + 3});
    std::wstring value;
    EXPECT_TRUE(window_->WaitUntil(
        [&] {
            value = StatusPart(window_->process(), Item(ids::kStatus), 2);
            return value.starts_with(L"非甲烷总烃 ");
        },
        30))
        << Narrow(value);
    EXPECT_NE(value.find(L"µg/m³"), std::wstring::npos) << Narrow(value);
    EXPECT_NE(StatusPart(window_->process(), Item(ids::kStatus), 1), L"");

    // All pollutants: each one's share, a long text that its part widens to.
    Choose(ids::kPlanPollutant, 0);
    window_->ClickAt(Item(ids::kPlan), {plan.right / 2, plan.bottom / 2});
    EXPECT_TRUE(window_->WaitUntil(
        [&] {
            value = StatusPart(window_->process(), Item(ids::kStatus), 2);
            return value.find(L"%，") != std::wstring::npos;
        },
        30))
        << Narrow(value);
    HFONT font = CreateCjkFont(WindowFontFace(), 9, WindowDpi(window_->window()), false);
    const LONG textWidth = TextExtent(Item(ids::kStatus), font, value).cx;
    DeleteObject(font);
    const RECT part = StatusPartRect(window_->process(), Item(ids::kStatus), 2);
    EXPECT_GE(part.right - part.left, textWidth) << Narrow(value);
}

TEST_F(ProjectWindowFieldTest, CopiesTheListOfPollutants) {
    HWND list = Item(ids::kFieldPollutants);
    // The 现行导则 tab, then a row of its list and Ctrl+C.
    ClickTab(ids::kResultTabs, 4);
    ASSERT_TRUE(IsWindowVisible(list));
    window_->ClickAt(list, {20, 30});
    SendKeys({{VK_CONTROL, false}, {'C', false}, {'C', true}, {VK_CONTROL, true}});
    std::wstring copied;
    ASSERT_TRUE(window_->WaitUntil(
        [&] { return (copied = ClipboardText()).starts_with(L"污染物\tS (µg/m³)"); }, 10))
        << Narrow(copied);
    // The header and the row clicked.
    EXPECT_NE(copied.find(L"\r\n非甲烷总烃\t"), std::wstring::npos) << Narrow(copied);
}

TEST_F(ProjectWindowFieldTest, AnEditComputesTheFieldAgain) {
    const std::wstring before = Cell(ids::kFieldPollutants, 0, 2);
    // The emissions' table, its first row's rate: 90 kg/hr instead of 9.
    ClickTab(ids::kTableTabs, 1);
    HWND emissions = Item(ids::kFirstTable + 1);
    ASSERT_TRUE(IsWindowVisible(emissions));
    window_->Click(emissions);
    PressKeys({VK_HOME, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT, VK_RIGHT, VK_RIGHT});
    PressKeys({'9', '0'});
    // The plan says so while the field is computed again, then shows the new one.
    SendKeys({{VK_RETURN, false}, {VK_RETURN, true}});
    EXPECT_TRUE(window_->WaitUntil(
        [&] { return window_->Text(Item(ids::kPlan)) == L"正在计算浓度场…"; }, 10));
    EXPECT_EQ(CellText(window_->process(), emissions, 0, 2), L"90");
    ASSERT_TRUE(WaitForField());
    EXPECT_TRUE(window_->WaitUntil([&] { return Cell(ids::kFieldPollutants, 0, 2) != before; }, 10))
        << Narrow(before);
}

}  // namespace
}  // namespace quorvel
