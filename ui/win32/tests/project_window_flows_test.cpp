// The project window's everyday flows on the real Quorvel.exe, driven from
// another process: a block pasted from a spreadsheet, tables imported from
// CSV files, a run stopped by 停止, and the project sheet written after a run.

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they build on:
#include <commctrl.h>
#include <commdlg.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "calc/unicode_text.h"
#include "ui/core/project_commands.h"
#include "ui/core/project_tables.h"
#include "ui/core/result_texts.h"
#include "ui/win32/project_window_ids.h"
#include "ui/win32/tests/remote_controls.h"
#include "ui/win32/tests/remote_lists.h"
#include "ui/win32/tests/scoped_settings.h"
#include "ui/win32/tests/window_driver.h"
#include "ui/win32/wide_text.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
namespace ids = project_window_ids;
using test_support::AppDirCopy;
using test_support::BuiltAppDir;
using test_support::CellText;
using test_support::DocsDir;
using test_support::FileBytes;
using test_support::PressKeys;
using test_support::RowCount;
using test_support::RunningWindow;

constexpr wchar_t kTitle[] = L"示例项目.qvproj - Quorvel项目计算";
constexpr wchar_t kChangedTitle[] = L"示例项目.qvproj* - Quorvel项目计算";
// Long enough for a loaded machine; the example's run takes under a second.
constexpr double kSeconds = 60;

std::string Narrow(const std::wstring& text) { return ToUtf8(Utf16(text)); }

// True when the bytes are UTF-8 throughout.
bool IsUtf8(const std::string& bytes) {
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

// The example project of the documentation: three sources, six emissions,
// two receptors, opened by Quorvel.exe from a scratch copy of the
// application directory.
class ProjectWindowFlowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        project_ = dir_.path() / L"示例项目.qvproj";
        fs::copy_file(DocsDir() / "example.qvproj", project_);
    }
    void Start() {
        window_ = std::make_unique<RunningWindow>(dir_.path() / "Quorvel.exe", project_.wstring(),
                                                  kProjectWindowClassName);
        ASSERT_NE(window_->window(), nullptr) << "the project window did not open";
    }
    // A changed project would be asked about for as long as the window
    // waits: 不保存 ends the program at once.
    void TearDown() override {
        if (!window_ || window_->window() == nullptr) return;
        PostMessageW(window_->window(), WM_CLOSE, 0, 0);
        HWND prompt = nullptr;
        window_->WaitUntil(
            [&] {
                prompt = window_->MessageBoxWindow();
                return prompt != nullptr || window_->WaitForExit(0);
            },
            kSeconds);
        if (prompt != nullptr) {
            if (HWND dontSave = test_support::DialogButton(prompt, L"不保存"))
                PostMessageW(dontSave, BM_CLICK, 0, 0);
        }
        EXPECT_TRUE(window_->WaitForExit(kSeconds)) << "the window did not close";
    }
    bool HasRunner() const { return fs::exists(dir_.path() / "Tolvane.dll"); }
    HWND Item(int id) const { return GetDlgItem(window_->window(), id); }
    HWND Table(TableId table) const { return Item(ids::kFirstTable + static_cast<int>(table)); }
    HWND Results(int table) const { return Item(ids::kFirstResult + table); }
    std::wstring Cell(TableId table, int row, int column) const {
        return CellText(window_->process(), Table(table), row, column);
    }
    void Command(ProjectCommand command) const {
        PostMessageW(window_->window(), WM_COMMAND,
                     MAKEWPARAM(ids::kCommand + static_cast<int>(command), 0), 0);
    }
    bool CommandEnabled(ProjectCommand command) const {
        return SendMessageW(Item(ids::kToolbar), TB_ISBUTTONENABLED,
                            static_cast<WPARAM>(ids::kCommand + static_cast<int>(command)), 0) != 0;
    }
    std::wstring Title() const { return window_->Text(window_->window()); }
    // The status bar's first part: the run's status, or the current cell's problem.
    std::wstring Status() const { return window_->Text(Item(ids::kStatus)); }
    bool WaitForStatus(const std::wstring& text) const {
        return window_->WaitUntil([&] { return Status() == text; }, kSeconds);
    }
    // Chooses `file` in the open dialog of 导入CSV… as a person types its name.
    void ImportCsv(const fs::path& file) const {
        Command(ProjectCommand::ImportCsv);
        HWND dialog = nullptr;
        HWND name = nullptr;
        constexpr int kFileNameBox = 0x47c;  // cmb13 of the common dialogs
        ASSERT_TRUE(window_->WaitUntil(
            [&] {
                dialog = window_->FindWindowOfClass(L"#32770");
                name = dialog ? GetDlgItem(dialog, kFileNameBox) : nullptr;
                return name != nullptr && IsWindowVisible(dialog);
            },
            kSeconds))
            << "no file dialog";
        window_->SetText(name, file.wstring());
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(window_->WaitUntil([&] { return !IsWindow(dialog); }, kSeconds))
            << "the file dialog stayed";
    }

    AppDirCopy dir_{BuiltAppDir()};
    fs::path project_;
    std::unique_ptr<RunningWindow> window_;
};

// Ctrl+V in a table puts a block copied from a spreadsheet (tab between
// cells, CR LF after rows) at the selected cell, adding rows as needed; a
// cell that is no number keeps its text and, once it is the current cell,
// the status bar says why it cannot be used.
TEST_F(ProjectWindowFlowsTest, APastedBlockFillsTheTableAndABadNumberIsTold) {
    Start();
    ASSERT_TRUE(
        test_support::PutClipboardText(L"A1\t罐区\t10\t20\t0\t5\t30\t40\r\n"
                                       L"A2\t库房\t50\t60\t15\t4\t10\t20\r\n"
                                       L"A3\t泵房\t-5\t7\t0\t3\t8\t9\r\n"
                                       L"A4\t装卸区\t12a\t9\t0\t3\t8\t9\r\n"));
    window_->Click(Table(TableId::Sources));
    PressKeys({VK_HOME});
    test_support::PressChord(VK_CONTROL, 'V');
    ASSERT_TRUE(
        window_->WaitUntil([&] { return RowCount(Table(TableId::Sources)) == 4; }, kSeconds))
        << "rows after Ctrl+V: " << RowCount(Table(TableId::Sources));
    EXPECT_EQ(Cell(TableId::Sources, 0, 0), L"A1");
    EXPECT_EQ(Cell(TableId::Sources, 1, 1), L"库房");
    EXPECT_EQ(Cell(TableId::Sources, 2, 2), L"-5");
    EXPECT_EQ(Cell(TableId::Sources, 3, 7), L"9");
    EXPECT_EQ(Cell(TableId::Sources, 3, 2), L"12a") << "a bad number is kept as pasted";
    EXPECT_TRUE(window_->WaitUntil([&] { return Title() == kChangedTitle; }, kSeconds))
        << Narrow(Title());

    // The pasted block starts at the first row's first cell; its last row's
    // x is the bad one.
    PressKeys({VK_END, VK_RIGHT, VK_RIGHT});
    EXPECT_TRUE(WaitForStatus(L"“12a”不是数字")) << Narrow(Status());
    PressKeys({VK_RIGHT});
    EXPECT_TRUE(window_->WaitUntil([&] { return Status() != L"“12a”不是数字"; }, kSeconds))
        << "the next cell has no problem";
}

// 导入CSV…: a file saved by a spreadsheet in GB18030 and one in UTF-8, both
// with Chinese column names, add their rows to the table their columns name.
TEST_F(ProjectWindowFlowsTest, CsvFilesInGb18030AndUtf8LandInTheirTables) {
    // "名称,x (m),y (m)" and "李家村,300,-120" in GB18030.
    const fs::path receptors = dir_.path() / L"敏感目标.csv";
    std::ofstream(receptors, std::ios::binary)
        << "\xc3\xfb\xb3\xc6,x (m),y (m)\r\n\xc0\xee\xbc\xd2\xb4\xe5,300,-120\r\n";
    const fs::path sources = dir_.path() / L"排放源.csv";
    std::ofstream(sources, std::ios::binary)
        << "\xef\xbb\xbf编号,名称,x,y,方向,有效高度,宽度,长度\r\n"
           "S4,\"装卸站, 北\",10,20,,4,10,20\r\n";
    Start();
    ASSERT_EQ(RowCount(Table(TableId::Receptors)), 2);

    ImportCsv(receptors);
    ASSERT_TRUE(
        window_->WaitUntil([&] { return RowCount(Table(TableId::Receptors)) == 3; }, kSeconds))
        << "no receptor row imported";
    EXPECT_EQ(Cell(TableId::Receptors, 2, 0), L"李家村");
    EXPECT_EQ(Cell(TableId::Receptors, 2, 1), L"300");
    EXPECT_EQ(Cell(TableId::Receptors, 2, 2), L"-120");
    EXPECT_TRUE(IsWindowVisible(Table(TableId::Receptors))) << "the imported table is shown";
    EXPECT_TRUE(window_->WaitUntil([&] { return Title() == kChangedTitle; }, kSeconds));

    ImportCsv(sources);
    ASSERT_TRUE(
        window_->WaitUntil([&] { return RowCount(Table(TableId::Sources)) == 4; }, kSeconds))
        << "no source row imported";
    EXPECT_EQ(Cell(TableId::Sources, 0, 0), L"S1") << "the rows before stay";
    EXPECT_EQ(Cell(TableId::Sources, 3, 0), L"S4");
    EXPECT_EQ(Cell(TableId::Sources, 3, 1), L"装卸站, 北");
    EXPECT_EQ(Cell(TableId::Sources, 3, 5), L"4");
    EXPECT_EQ(Cell(TableId::Sources, 3, 7), L"20");
    EXPECT_TRUE(IsWindowVisible(Table(TableId::Sources)));
    EXPECT_EQ(window_->MessageBoxWindow(), nullptr);
}

// 停止 ends a run whose model would take a minute: the status says it was
// stopped, no emission shows a distance as if computed, and the window takes
// edits and another 计算.
TEST_F(ProjectWindowFlowsTest, StopEndsASlowRunAndTheWindowStaysUsable) {
    if (!HasRunner()) GTEST_SKIP() << "no runner component Tolvane.dll in this build";
    fs::copy_file(test_support::TestProgramDir() / "quorvel_slow_model.exe",
                  dir_.path() / "SCREEN3.EXE", fs::copy_options::overwrite_existing);
    Start();
    Command(ProjectCommand::Compute);
    ASSERT_TRUE(window_->WaitUntil(
        [&] { return IsWindowEnabled(Item(ids::kStop)) && Status().starts_with(L"正在计算"); },
        kSeconds))
        << "no run going on: " << Narrow(Status());
    EXPECT_FALSE(CommandEnabled(ProjectCommand::Compute));

    const auto stopping = std::chrono::steady_clock::now();
    window_->Click(Item(ids::kStop));
    ASSERT_TRUE(WaitForStatus(L"计算已停止，未计算的项已注明。")) << Narrow(Status());
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(30))
        << "the runner did not end the model at once";
    ASSERT_EQ(RowCount(Results(0)), 6);
    for (int row = 0; row < 6; ++row) {
        const std::wstring verdict = CellText(window_->process(), Results(0), row, 5);
        EXPECT_TRUE(verdict.starts_with(L"未能计算")) << row << ": " << Narrow(verdict);
        EXPECT_EQ(CellText(window_->process(), Results(0), row, 3), Wide(kNoValue))
            << row << ": no Cmax without a run";
    }

    EXPECT_TRUE(CommandEnabled(ProjectCommand::Compute));
    EXPECT_FALSE(IsWindowEnabled(Item(ids::kStop)));
    EXPECT_EQ(window_->MessageBoxWindow(), nullptr);
    window_->SetText(Item(ids::kDistance), L"250");
    EXPECT_TRUE(window_->WaitUntil([&] { return Title() == kChangedTitle; }, kSeconds));
    Command(ProjectCommand::Compute);
    EXPECT_TRUE(window_->WaitUntil([&] { return Status().starts_with(L"正在计算"); }, kSeconds))
        << "no second run: " << Narrow(Status());
}

// 计算书 after a run writes the project sheet into the documents folder's
// Quorvel folder: a whole HTML page in UTF-8 with the project's name, the
// results and the current rule's section.
TEST_F(ProjectWindowFlowsTest, TheSheetAfterARunIsWrittenAsUtf8Html) {
    if (!HasRunner()) GTEST_SKIP() << "no runner component Tolvane.dll in this build";
    const fs::path documents = dir_.path() / "Documents";
    const test_support::ScopedDocumentsFolder documentsFolder(documents);
    Start();
    EXPECT_FALSE(CommandEnabled(ProjectCommand::Sheet));
    Command(ProjectCommand::Compute);
    ASSERT_TRUE(WaitForStatus(L"计算完成。")) << Narrow(Status());
    ASSERT_TRUE(CommandEnabled(ProjectCommand::Sheet));

    Command(ProjectCommand::Sheet);
    const fs::path folder = documents / "Quorvel";
    std::vector<fs::path> sheets;
    window_->WaitUntil(
        [&] {
            std::error_code error;
            sheets.clear();
            for (const auto& entry : fs::directory_iterator(folder, error))
                sheets.push_back(entry.path());
            return sheets.size() == 1 && fs::file_size(sheets[0], error) > 0;
        },
        kSeconds);
    ASSERT_EQ(sheets.size(), 1u) << "no sheet in " << folder.string();
    EXPECT_EQ(sheets[0].extension(), ".html");
    // The page is written whole before the browser is asked to open it.
    const std::string html = FileBytes(sheets[0]);
    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>")) << html.substr(0, 80);
    EXPECT_NE(html.find("<meta charset=\"utf-8\"/>"), std::string::npos);
    EXPECT_TRUE(IsUtf8(html));
    EXPECT_NE(html.find("示例化工项目"), std::string::npos);
    EXPECT_NE(html.find("三、计算结果"), std::string::npos);
    EXPECT_NE(html.find("六、全厂叠加（现行导则做法）"), std::string::npos);
    EXPECT_NE(html.find("</html>"), std::string::npos);
    EXPECT_EQ(window_->MessageBoxWindow(), nullptr);
    EXPECT_EQ(Title(), kTitle) << "writing the sheet does not change the project";
}

}  // namespace
}  // namespace quorvel
