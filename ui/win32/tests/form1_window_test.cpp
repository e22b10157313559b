// Quorvel.exe under test from another process: the window as it opens, the
// input boxes' validation, the refusals of the check, and whole runs of the
// model through the runner component.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/run/run_screen3.h"
#include "calc/unicode_text.h"
#include "ui/core/form1_design.h"
#include "ui/core/twips.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/tests/scoped_settings.h"
#include "ui/win32/tests/window_driver.h"
#include "ui/win32/wide_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using test_support::AppDirCopy;
using test_support::BuiltAppDir;
using test_support::RunningWindow;

constexpr double kRunSeconds = 120;

// The resolution the system under test shows windows at: 96 unless the test
// is run for another one (QUORVEL_TEST_DPI, set by test-high-dpi.sh).
int TestDpi() {
    const wchar_t* dpi = _wgetenv(L"QUORVEL_TEST_DPI");
    return dpi != nullptr && *dpi != L'\0' ? _wtoi(dpi) : 96;
}

class Form1WindowTest : public ::testing::Test {
  protected:
    void Start() {
        window_ = std::make_unique<RunningWindow>(dir_.path() / "Quorvel.exe");
        ASSERT_NE(window_->window(), nullptr) << "the window did not open";
    }
    HWND Control(std::string_view name, int index = -1) { return window_->Control(name, index); }
    bool HasRunner() const { return fs::exists(dir_.path() / "Tolvane.dll"); }
    // Presses Run as a person does.
    void PressRun() { window_->Click(Control("Command1", 0)); }
    // Waits for the run's verdict in the result box, or for a message.
    bool WaitForVerdict(std::wstring_view verdict) {
        return window_->WaitUntil(
                   [&] {
                       return window_->Text(Control("Text2")) == verdict ||
                              window_->MessageBoxWindow() != nullptr;
                   },
                   kRunSeconds) &&
               window_->Text(Control("Text2")) == verdict;
    }

    AppDirCopy dir_{BuiltAppDir()};
    std::unique_ptr<RunningWindow> window_;
};

TEST_F(Form1WindowTest, OpensWithItsTitleEveryControlInPlaceAndTheStartStates) {
    Start();
    HWND window = window_->window();
    EXPECT_EQ(window_->Text(window), Wide(kWindowTitle));
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, TestDpi()));
    EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, TestDpi()));

    for (const ControlDesign& design : Form1Design()) {
        HWND control = Control(design.name, design.index);
        ASSERT_NE(control, nullptr) << ControlName(design);
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        const PixelRect expected = ToPixels(WindowTwips(design), TestDpi());
        EXPECT_EQ(rect.left, expected.x) << ControlName(design);
        EXPECT_EQ(rect.top, expected.y) << ControlName(design);
        if (!design.autoSized) {
            EXPECT_EQ(rect.right - rect.left, expected.width) << ControlName(design);
        }
        // A closed list is as high as its font's selection field.
        if (!design.autoSized && design.kind != ControlKind::DropDownList) {
            EXPECT_EQ(rect.bottom - rect.top, expected.height) << ControlName(design);
        }
        if (design.autoSized) {
            EXPECT_GT(rect.right - rect.left, 0) << ControlName(design);
        }
        EXPECT_EQ(IsWindowVisible(control) != FALSE, design.visible) << ControlName(design);
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, design.enabled) << ControlName(design);
        if (design.kind != ControlKind::DropDownList) {
            EXPECT_EQ(window_->Text(control), Wide(design.caption)) << ControlName(design);
        }
    }
    EXPECT_EQ(SendMessageW(Control("Check1", 0), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Control("Check1", 1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(Control("Combo1", 0), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(Control("Combo1", 0), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(window_->Text(Control("Combo1", 0)), L"g/s");
    EXPECT_EQ(SendMessageW(Control("Combo1", 1), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(window_->FocusName(), "Command1_1");
}

TEST_F(Form1WindowTest, ProgramCarriesItsIconPointerVersionAndManifest) {
    const fs::path program = dir_.path() / "Quorvel.exe";
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (int size : {32, 16}) {
        EXPECT_NE(LoadImageW(module, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON, size, size, 0),
                  nullptr)
            << size;
    }
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDC_HAND_POINTER), RT_GROUP_CURSOR), nullptr);
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                           SizeofResource(module, manifest));
    EXPECT_NE(text.find("D99E4E35-E44F-429F-B384-6B51A17D0F0D"), std::string::npos);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    FreeLibrary(module);

    DWORD ignored = 0;
    std::vector<char> version(GetFileVersionInfoSizeW(program.c_str(), &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(version.size()),
                                    version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(2, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(21, 0));
    wchar_t* product = nullptr;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\080404B0\\ProductVersion",
                               reinterpret_cast<void**>(&product), &length));
    EXPECT_EQ(std::wstring(product), L"1.2.21");
    wchar_t* title = nullptr;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\080404B0\\FileDescription",
                               reinterpret_cast<void**>(&title), &length));
    EXPECT_EQ(std::wstring(title), Wide(kWindowTitle));
}

TEST_F(Form1WindowTest, TabWalksTheInputsThenRunResultExitAndProjectAndShiftTabGoesBack) {
    Start();
    const char* expected[] = {"Text1_0",    "Text1_1",  "Text1_2",   "Text1_3",    "Combo1_0",
                              "Check1_0",   "Text1_4",  "Check1_1",  "Command1_0", "Text2",
                              "Command1_2", "Command3", "Command1_1"};
    for (const char* name : expected) {
        window_->PressTab();
        EXPECT_EQ(window_->FocusName(), name);
    }
    window_->PressTab(true);
    EXPECT_EQ(window_->FocusName(), "Command3");
}

TEST_F(Form1WindowTest, DefaultsGiveTheVerdictThroughTheModelAndLeaveNoRunFiles) {
    if (!HasRunner()) GTEST_SKIP() << "no runner component Tolvane.dll in this build";
    Start();
    PressRun();
    ASSERT_TRUE(WaitForVerdict(L"Quorvel 建议距离（距面源中心） = 1100 m"))
        << "result box: " << ToUtf8(Utf16(window_->Text(Control("Text2"))))
        << (window_->MessageBoxWindow() ? ", message: " + ToUtf8(Utf16(*window_->WaitForMessage(0)))
                                        : std::string());
    EXPECT_TRUE(window_->WaitForText(Control("Command1", 0), Wide(kRunCaption), 10));
    EXPECT_TRUE(IsWindowEnabled(Control("Command1", 0)));
    for (const char* name : {"Screen3.INP", "Screen.OUT", "screen.dat"}) {
        EXPECT_FALSE(fs::exists(dir_.path() / name)) << name;
    }
}

TEST_F(Form1WindowTest, ZeroInABoxIsRefusedOnTabAndOnRunAndTheFocusStays) {
    Start();
    window_->Click(Control("Text1", 0));
    ASSERT_EQ(window_->FocusName(), "Text1_0");
    window_->SetText(Control("Text1", 0), L"0");
    window_->PressTab();
    EXPECT_EQ(window_->WaitForMessage(10), Wide(kInvalidDataText));
    window_->CloseMessage();
    EXPECT_EQ(window_->FocusName(), "Text1_0");
    EXPECT_EQ(window_->Text(Control("Text1", 0)), L"0");

    PressRun();
    EXPECT_EQ(window_->WaitForMessage(10), Wide(kInvalidDataText));
    window_->CloseMessage();
    EXPECT_EQ(window_->FocusName(), "Text1_0");
    EXPECT_EQ(window_->Text(Control("Command1", 0)), Wide(kRunCaption));
    EXPECT_EQ(window_->Text(Control("Text2")), L"");

    // A press on a check box does not toggle it while the box is invalid.
    window_->Click(Control("Check1", 1));
    EXPECT_EQ(window_->WaitForMessage(10), Wide(kInvalidDataText));
    window_->CloseMessage();
    EXPECT_EQ(SendMessageW(Control("Check1", 1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(window_->FocusName(), "Text1_0");

    // A valid number leaves the box rewritten with its unit.
    window_->SetText(Control("Text1", 0), L" 2.50 ");
    window_->PressTab();
    EXPECT_EQ(window_->FocusName(), "Text1_1");
    EXPECT_EQ(window_->Text(Control("Text1", 0)), L"2.5 m");
}

TEST_F(Form1WindowTest, WithoutAStandardTheRunIsRefusedWithTheFocusOnTheHourlyCheckBox) {
    Start();
    window_->Click(Control("Check1", 0));
    EXPECT_EQ(SendMessageW(Control("Check1", 0), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(Control("Text1", 4)));
    PressRun();
    EXPECT_EQ(window_->WaitForMessage(10), L"未设置评价标准!");
    window_->CloseMessage();
    EXPECT_EQ(window_->FocusName(), "Check1_0");
}

TEST_F(Form1WindowTest, WithoutTheModelTheRunFailsWhileBusyAndComesBackIdle) {
    fs::remove(dir_.path() / "SCREEN3.EXE");
    Start();
    PressRun();
    EXPECT_EQ(window_->WaitForMessage(10), Wide(kModelMissingText));
    // The message is shown while the window is still busy.
    EXPECT_EQ(window_->Text(Control("Command1", 0)), Wide(kBusyCaption));
    EXPECT_FALSE(IsWindowEnabled(Control("Command1", 0)));
    HWND box = window_->MessageBoxWindow();
    EXPECT_EQ(window_->Text(box), Wide(kMessageTitle));
    window_->CloseMessage();
    EXPECT_TRUE(window_->WaitForText(Control("Command1", 0), Wide(kRunCaption), 10));
    EXPECT_TRUE(IsWindowEnabled(Control("Command1", 0)));
    EXPECT_FALSE(fs::exists(dir_.path() / "Screen3.INP"));
}

TEST_F(Form1WindowTest, AMissingOrDamagedRunnerComponentEndsTheRunWithAClearText) {
    fs::remove(dir_.path() / "Tolvane.dll");
    Start();
    PressRun();
    const auto missing = window_->WaitForMessage(kRunSeconds);
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->rfind(L"找不到进程运行组件Tolvane.dll", 0), 0u) << ToUtf8(Utf16(*missing));
    window_->CloseMessage();
    EXPECT_TRUE(window_->WaitForText(Control("Command1", 0), Wide(kRunCaption), 10));
    window_.reset();

    {
        std::ofstream damaged(dir_.path() / "Tolvane.dll", std::ios::binary);
        damaged << "MZ this is no library";
    }
    Start();
    PressRun();
    const auto broken = window_->WaitForMessage(kRunSeconds);
    ASSERT_TRUE(broken.has_value());
    EXPECT_EQ(broken->rfind(L"不能加载进程运行组件Tolvane.dll", 0), 0u) << ToUtf8(Utf16(*broken));
    window_->CloseMessage();
    EXPECT_TRUE(window_->WaitForText(Control("Command1", 0), Wide(kRunCaption), 10));
    EXPECT_EQ(window_->Text(Control("Text2")), L"");
}

TEST_F(Form1WindowTest, ClosingDuringARunEndsTheModelThroughTheRunnerAndThenCloses) {
    if (!HasRunner()) GTEST_SKIP() << "no runner component Tolvane.dll in this build";
    fs::copy_file(test_support::TestProgramDir() / "quorvel_slow_model.exe",
                  dir_.path() / "SCREEN3.EXE", fs::copy_options::overwrite_existing);
    Start();
    PressRun();
    ASSERT_TRUE(window_->WaitForText(Control("Command1", 0), Wide(kBusyCaption), 10));
    const auto closing = std::chrono::steady_clock::now();
    PostMessageW(window_->window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    // The model would run for a minute; the runner ends it at once.
    EXPECT_TRUE(window_->WaitForExit(30));
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::seconds(30));
}

TEST_F(Form1WindowTest, TheCloseBoxClosesWithoutValidatingTheFocusedBox) {
    Start();
    window_->Click(Control("Text1", 3));
    window_->SetText(Control("Text1", 3), L"abc");
    PostMessageW(window_->window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(window_->WaitForExit(20));
    EXPECT_EQ(window_->MessageBoxWindow(), nullptr);
}

TEST_F(Form1WindowTest, TheSheetButtonWaitsForARunThenWritesTheSheetIntoTheDocumentsFolder) {
    if (!HasRunner()) GTEST_SKIP() << "no runner component Tolvane.dll in this build";
    // The user's documents folder lies in the scratch copy, and the desktop's
    // browser is not started.
    const fs::path documents = dir_.path() / "Documents";
    const test_support::ScopedDocumentsFolder documentsFolder(documents);
    Start();
    HWND sheetButton = Control("Command2");
    EXPECT_EQ(window_->Text(sheetButton), Wide(kSheetCaption));
    EXPECT_FALSE(IsWindowEnabled(sheetButton));
    PressRun();
    ASSERT_TRUE(WaitForVerdict(L"Quorvel 建议距离（距面源中心） = 1100 m"))
        << (window_->MessageBoxWindow() ? "message: " + ToUtf8(Utf16(*window_->WaitForMessage(0)))
                                        : std::string("no verdict"));
    EXPECT_TRUE(IsWindowEnabled(sheetButton));

    window_->Click(sheetButton);
    const fs::path folder = documents / "Quorvel";
    std::vector<fs::path> sheets;
    window_->WaitUntil(
        [&] {
            std::error_code error;
            sheets.clear();
            for (const auto& entry : fs::directory_iterator(folder, error)) {
                sheets.push_back(entry.path());
            }
            return sheets.size() == 1 && fs::file_size(sheets[0], error) > 0;
        },
        20);
    ASSERT_EQ(sheets.size(), 1u) << "no sheet in " << folder.string();
    EXPECT_TRUE(sheets[0].filename().wstring().starts_with(L"计算书_"));
    EXPECT_EQ(window_->MessageBoxWindow(), nullptr);
}

TEST_F(Form1WindowTest, ExitClosesTheWindowAndEndsTheProgram) {
    Start();
    window_->Click(Control("Command1", 2));
    EXPECT_TRUE(window_->WaitForExit(20));
}

}  // namespace
}  // namespace quorvel
