// Quorvel.exe started with a project file, driven from another process: the
// project window opens the project, computes it through the model and the
// runner component, shows the results, and asks about unsaved changes when
// it is closed.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it builds on:
#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calc/project/files/project_file.h"
#include "ui/core/project_commands.h"
#include "ui/win32/project_window_ids.h"
#include "ui/win32/tests/remote_controls.h"
#include "ui/win32/tests/remote_lists.h"
#include "ui/win32/tests/window_driver.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
namespace ids = project_window_ids;
using test_support::AppDirCopy;
using test_support::BuiltAppDir;
using test_support::CellText;
using test_support::DialogButton;
using test_support::DocsDir;
using test_support::FileBytes;
using test_support::PressKeys;
using test_support::RowCount;
using test_support::RunningWindow;

constexpr double kRunSeconds = 300;

// The example project of the documentation: three sources, six emissions.
fs::path ExampleProject() { return DocsDir() / "example.qvproj"; }

class ProjectWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        project_ = dir_.path() / L"示例项目.qvproj";
        fs::copy_file(ExampleProject(), project_);
        window_ = std::make_unique<RunningWindow>(dir_.path() / "Quorvel.exe", project_.wstring(),
                                                  kProjectWindowClassName);
        ASSERT_NE(window_->window(), nullptr) << "the project window did not open";
    }
    HWND Item(int id) const { return GetDlgItem(window_->window(), id); }
    HWND Table(int table) const { return Item(ids::kFirstTable + table); }
    HWND Results(int table) const { return Item(ids::kFirstResult + table); }
    void Command(ProjectCommand command) const {
        PostMessageW(window_->window(), WM_COMMAND,
                     MAKEWPARAM(ids::kCommand + static_cast<int>(command), 0), 0);
    }
    std::wstring Title() const { return window_->Text(window_->window()); }
    // The save prompt once it is up.
    HWND WaitForPrompt() const {
        HWND box = nullptr;
        window_->WaitUntil([&] { return (box = window_->MessageBoxWindow()) != nullptr; }, 20);
        return box;
    }

    AppDirCopy dir_{BuiltAppDir()};
    fs::path project_;
    std::unique_ptr<RunningWindow> window_;
};

TEST_F(ProjectWindowTest, OpensTheProjectGivenAsArgumentAndComputesIt) {
    EXPECT_EQ(Title(), L"示例项目.qvproj - Quorvel项目计算");
    ASSERT_EQ(RowCount(Table(0)), 3);
    EXPECT_EQ(CellText(window_->process(), Table(0), 0, 0), L"S1");
    EXPECT_EQ(CellText(window_->process(), Table(0), 1, 1), L"污水处理站");
    EXPECT_EQ(RowCount(Table(1)), 6);
    EXPECT_EQ(RowCount(Results(0)), 0);

    Command(ProjectCommand::Compute);
    HWND status = Item(ids::kStatus);
    // A status bar's window text is its first part's.
    const auto statusText = [&] { return window_->Text(status); };
    ASSERT_TRUE(window_->WaitUntil([&] { return statusText() == L"计算完成。"; }, kRunSeconds))
        << "status: " << std::string(statusText().begin(), statusText().end());
    ASSERT_EQ(RowCount(Results(0)), 6);
    for (int row = 0; row < 6; ++row) {
        const std::wstring verdict = CellText(window_->process(), Results(0), row, 5);
        EXPECT_EQ(verdict.find(L"未能计算"), std::wstring::npos) << row;
        EXPECT_FALSE(CellText(window_->process(), Results(0), row, 3).empty()) << row;
    }
    EXPECT_EQ(CellText(window_->process(), Results(0), 0, 0), L"S1（罐区）");
    ASSERT_EQ(RowCount(Results(1)), 3);
    EXPECT_NE(CellText(window_->process(), Results(1), 0, 1).find(L"m"), std::wstring::npos);
    EXPECT_EQ(RowCount(Results(3)), 6) << "the limits of every emission";
    EXPECT_NE(window_->Text(Item(ids::kConclusion)).find(L"m²"), std::wstring::npos);
    // Computing does not change the project.
    EXPECT_EQ(Title(), L"示例项目.qvproj - Quorvel项目计算");

    // 导出DXF…: the file dialog offers the project's name; the drawing is
    // written where the dialog says.
    PostMessageW(window_->window(), WM_COMMAND, MAKEWPARAM(ids::kExportDrawingCommand, 0), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(window_->WaitUntil(
        [&] { return (dialog = window_->FindWindowOfClass(L"#32770")) != nullptr; }, 20))
        << "no file dialog";
    Sleep(500);
    constexpr int kFileNameBox = 0x47c;  // cmb13 of the common dialogs
    HWND name = GetDlgItem(dialog, kFileNameBox);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(window_->Text(name), L"示例化工项目-结果.dxf");
    const fs::path drawing = dir_.path() / L"result.dxf";
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(drawing.wstring().c_str()));
    PressKeys({VK_RETURN});
    ASSERT_TRUE(window_->WaitUntil([&] { return fs::exists(drawing); }, 20)) << "no drawing";
    const std::string bytes = FileBytes(drawing);
    EXPECT_NE(bytes.find("QV-控制距离"), std::string::npos);
    EXPECT_NE(bytes.find("罐区"), std::string::npos);
}

TEST_F(ProjectWindowTest, ClosingWithChangesAsksAndSavesOrKeepsTheWindow) {
    window_->SetText(Item(ids::kDistance), L"250");
    ASSERT_TRUE(
        window_->WaitUntil([&] { return Title() == L"示例项目.qvproj* - Quorvel项目计算"; }, 10))
        << "title after an edit";

    // 取消 keeps the window and the change.
    PostMessageW(window_->window(), WM_CLOSE, 0, 0);
    HWND box = WaitForPrompt();
    ASSERT_NE(box, nullptr) << "no save prompt";
    ASSERT_NE(DialogButton(box, L"不保存"), nullptr);
    HWND cancel = DialogButton(box, L"取消");
    ASSERT_NE(cancel, nullptr);
    PostMessageW(cancel, BM_CLICK, 0, 0);
    ASSERT_TRUE(window_->WaitUntil([&] { return window_->MessageBoxWindow() == nullptr; }, 10));
    EXPECT_TRUE(IsWindow(window_->window()));
    EXPECT_EQ(window_->Text(Item(ids::kDistance)), L"250");

    // 保存 writes the file and closes.
    Command(ProjectCommand::Close);
    box = WaitForPrompt();
    ASSERT_NE(box, nullptr) << "no save prompt";
    HWND save = DialogButton(box, L"保存");
    ASSERT_NE(save, nullptr);
    PostMessageW(save, BM_CLICK, 0, 0);
    ASSERT_TRUE(window_->WaitForExit(20)) << "the program did not end after saving";
    const std::string text = FileBytes(project_);
    EXPECT_NE(text.find("\"target_distance_m\": 250"), std::string::npos) << text;
}

TEST_F(ProjectWindowTest, TypingInACellEditsItInPlaceAndMarksTheProjectChanged) {
    HWND sources = Table(0);
    window_->Click(sources);
    PressKeys({VK_HOME, VK_RIGHT});  // the first row's name
    PressKeys({'Q', 'Z', VK_RETURN});
    ASSERT_TRUE(window_->WaitUntil(
        [&] { return CellText(window_->process(), sources, 0, 1) == L"qz"; }, 10))
        << "cell: " << CellText(window_->process(), sources, 0, 1).size();
    EXPECT_EQ(Title(), L"示例项目.qvproj* - Quorvel项目计算");
    // Esc drops what was typed.
    PressKeys({VK_F2, 'W', VK_ESCAPE});
    EXPECT_EQ(CellText(window_->process(), sources, 0, 1), L"qz");

    // 不保存 closes without writing.
    PostMessageW(window_->window(), WM_CLOSE, 0, 0);
    HWND box = WaitForPrompt();
    ASSERT_NE(box, nullptr) << "no save prompt";
    PostMessageW(DialogButton(box, L"不保存"), BM_CLICK, 0, 0);
    EXPECT_TRUE(window_->WaitForExit(20));
    EXPECT_EQ(FileBytes(project_).find("qz"), std::string::npos);
}

// A PNG picture's width and height in pixels, from its header; 0 x 0 when
// the file is no PNG.
std::pair<int, int> PngSize(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char header[24] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return {0, 0};
    const auto big = [&](int at) {
        return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    return {big(16), big(20)};
}

// A project whose plan names a picture beside it: reference point 1 is set
// in its dialog by a click on the picture and the typed site coordinates,
// and saved; 确定 with a coordinate that is no number keeps the dialog.
TEST_F(ProjectWindowTest, SetsAPlanReferencePointInItsDialog) {
    window_.reset();  // opened again with a plan
    const fs::path picture = DocsDir() / "project-sheet.png";
    fs::copy_file(picture, dir_.path() / L"底图.png");
    const auto [pictureWidth, pictureHeight] = PngSize(picture);
    ASSERT_GT(pictureWidth, 0);
    std::string text = FileBytes(project_);
    const std::size_t end = text.rfind('}');
    ASSERT_NE(end, std::string::npos);
    text = text.substr(0, end) +
           ",\n  \"plan\": {\"image\": \"底图.png\", \"points\": ["
           "{\"pixel\": [100, 200], \"site\": [0, 0]}, "
           "{\"pixel\": [800, 2000], \"site\": [100, -50]}]}\n}\n";
    std::ofstream(project_, std::ios::binary) << text;
    window_ = std::make_unique<RunningWindow>(dir_.path() / "Quorvel.exe", project_.wstring(),
                                              kProjectWindowClassName);
    ASSERT_NE(window_->window(), nullptr);
    // The owner low on the screen: the dialog, taller than the owner, still
    // lies wholly in the work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(window_->window(), nullptr, work.left + 20, work.bottom - 320, 900, 300,
                 SWP_NOZORDER);

    PostMessageW(window_->window(), WM_COMMAND, MAKEWPARAM(ids::kPlanPointCommand, 0), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(window_->WaitUntil(
        [&] { return (dialog = window_->FindWindowOfClass(kPlanReferenceClassName)) != nullptr; },
        20))
        << "no reference point dialog";
    RECT shown{};
    GetWindowRect(dialog, &shown);
    EXPECT_GE(shown.top, work.top);
    EXPECT_LE(shown.bottom, work.bottom);
    EXPECT_GT(shown.bottom - shown.top, 300);
    EXPECT_EQ(window_->Text(dialog), L"底图参考点 1");
    HWND pixel = GetDlgItem(dialog, plan_reference_ids::kPixel);
    HWND x = GetDlgItem(dialog, plan_reference_ids::kSiteX);
    HWND y = GetDlgItem(dialog, plan_reference_ids::kSiteY);
    EXPECT_EQ(window_->Text(pixel), L"(100.0, 200.0)");
    EXPECT_EQ(window_->Text(x), L"0");
    EXPECT_EQ(window_->Text(y), L"0");

    // The middle of the picture is the middle of its pixels.
    window_->Click(GetDlgItem(dialog, plan_reference_ids::kPicture));
    ASSERT_TRUE(window_->WaitUntil([&] { return window_->Text(pixel) != L"(100.0, 200.0)"; }, 10))
        << "the click gave no pixel";
    double pickedX = 0, pickedY = 0;
    ASSERT_EQ(std::swscanf(window_->Text(pixel).c_str(), L"(%lf, %lf)", &pickedX, &pickedY), 2);
    EXPECT_NEAR(pickedX, pictureWidth / 2.0, 12);
    EXPECT_NEAR(pickedY, pictureHeight / 2.0, 12);

    window_->SetText(x, L"12,5");
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(window_->WaitForMessage(10).has_value()) << "no message for a bad x";
    window_->CloseMessage();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(Title(), L"示例项目.qvproj - Quorvel项目计算");

    window_->SetText(x, L"12.5");
    window_->SetText(y, L" -34.25");
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(window_->WaitUntil([&] { return !IsWindow(dialog); }, 10));
    ASSERT_TRUE(
        window_->WaitUntil([&] { return Title() == L"示例项目.qvproj* - Quorvel项目计算"; }, 10));

    Command(ProjectCommand::Save);
    ASSERT_TRUE(
        window_->WaitUntil([&] { return Title() == L"示例项目.qvproj - Quorvel项目计算"; }, 10));
    const auto saved = project::OpenProject(project_);
    ASSERT_TRUE(saved.ok()) << "the saved project does not open";
    ASSERT_TRUE(saved.value().plan.has_value());
    const project::Plan& plan = *saved.value().plan;
    EXPECT_EQ(plan.image, "底图.png");
    EXPECT_NEAR(plan.points[0].pixel.x, pickedX, 0.05);
    EXPECT_NEAR(plan.points[0].pixel.y, pickedY, 0.05);
    EXPECT_EQ(plan.points[0].site.x, 12.5);
    EXPECT_EQ(plan.points[0].site.y, -34.25);
    EXPECT_EQ(plan.points[1].pixel.x, 800);
    EXPECT_EQ(plan.points[1].site.y, -50);
}

// 导入DXF…: the drawing chosen in the file dialog, its layers in the import
// dialog, and on 确定 the sources, receptors, boundary and tie in the project.
TEST_F(ProjectWindowTest, ImportsASitePlanDrawing) {
    window_.reset();  // opened again with an empty project
    const fs::path drawing = dir_.path() / L"总平面布置图.dxf";
    fs::copy_file(DocsDir() / "example-site-plan.dxf", drawing);
    std::ofstream(project_, std::ios::binary | std::ios::trunc)
        << "{\"format\": \"quorvel-project\", \"version\": 1}\n";
    window_ = std::make_unique<RunningWindow>(dir_.path() / "Quorvel.exe", project_.wstring(),
                                              kProjectWindowClassName);
    ASSERT_NE(window_->window(), nullptr);

    PostMessageW(window_->window(), WM_COMMAND, MAKEWPARAM(ids::kImportDrawingCommand, 0), 0);
    // The file dialog takes the typed name, as a person types it.
    ASSERT_TRUE(window_->WaitUntil([&] { return window_->FindWindowOfClass(L"#32770"); }, 20))
        << "no file dialog";
    Sleep(500);
    std::vector<INPUT> inputs;
    for (const wchar_t c : drawing.wstring()) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(300);
    PressKeys({VK_RETURN});
    HWND dialog = nullptr;
    ASSERT_TRUE(window_->WaitUntil(
        [&] { return (dialog = window_->FindWindowOfClass(kDxfImportClassName)) != nullptr; }, 20))
        << "no import dialog";
    EXPECT_EQ(window_->Text(dialog), L"导入DXF");
    HWND layers = GetDlgItem(dialog, dxf_import_ids::kLayers);
    ASSERT_EQ(RowCount(layers), 8);
    EXPECT_EQ(CellText(window_->process(), layers, 2, 0), L"厂界");
    EXPECT_EQ(CellText(window_->process(), layers, 2, 2), L"厂界");
    EXPECT_EQ(CellText(window_->process(), layers, 3, 1), L"LWPOLYLINE 3");
    EXPECT_EQ(window_->Text(GetDlgItem(dialog, dxf_import_ids::kHeight)), L"10");
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(window_->WaitUntil([&] { return !IsWindow(dialog); }, 10));
    ASSERT_TRUE(window_->WaitUntil([&] { return RowCount(Table(0)) == 3; }, 10));
    EXPECT_EQ(CellText(window_->process(), Table(0), 1, 1), L"污水站");
    EXPECT_EQ(CellText(window_->process(), Table(0), 1, 4), L"30");

    Command(ProjectCommand::Save);
    ASSERT_TRUE(
        window_->WaitUntil([&] { return Title() == L"示例项目.qvproj - Quorvel项目计算"; }, 10));
    const auto saved = project::OpenProject(project_);
    ASSERT_TRUE(saved.ok()) << "the saved project does not open";
    ASSERT_TRUE(saved.value().cad.has_value());
    EXPECT_EQ(saved.value().cad->file, "总平面布置图.dxf");
    EXPECT_EQ(saved.value().cad->unit, project::DrawingUnit::Millimetre);
    EXPECT_EQ(saved.value().receptors.size(), 3u);
    EXPECT_GT(saved.value().boundary.size(), 4u);
}

// The main window's 项目计算... button opens the project window, one at a time.
TEST(MainWindowProjectButton, OpensOneProjectWindow) {
    AppDirCopy dir(BuiltAppDir());
    RunningWindow main(dir.path() / "Quorvel.exe");
    ASSERT_NE(main.window(), nullptr);
    main.Click(main.Control("Command3"));
    HWND project = nullptr;
    ASSERT_TRUE(main.WaitUntil(
        [&] { return (project = main.FindWindowOfClass(kProjectWindowClassName)) != nullptr; },
        20));
    EXPECT_EQ(main.Text(project), L"未命名 - Quorvel项目计算");
    main.Click(main.Control("Command3"));
    Sleep(500);
    EXPECT_EQ(main.FindWindowOfClass(kProjectWindowClassName), project) << "a second window";
    // An unchanged project closes without asking; the main window stays.
    PostMessageW(project, WM_CLOSE, 0, 0);
    EXPECT_TRUE(main.WaitUntil([&] { return !IsWindow(project); }, 10));
    EXPECT_TRUE(IsWindow(main.window()));
}

}  // namespace
}  // namespace quorvel
