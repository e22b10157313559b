// The project window's 预测浓度场 table driven from another process: the
// project's field files in their rows, and a file that cannot be used
// giving its row's reason (shown in the status bar on that cell) while a
// good one gives none.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ui/core/project_tables.h"
#include "ui/win32/project_window_ids.h"
#include "ui/win32/tests/remote_lists.h"
#include "ui/win32/tests/window_driver.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
namespace ids = project_window_ids;
using test_support::AppDirCopy;
using test_support::BuiltAppDir;
using test_support::CellText;
using test_support::DocsDir;
using test_support::FileBytes;
using test_support::RowCount;
using test_support::RunningWindow;
using test_support::TabRect;

// The rectangle of a ListView cell of another process, in the list's
// client pixels.
RECT CellRect(HANDLE process, HWND list, int row, int column) {
    void* remote =
        VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    RECT rect{};
    if (remote == nullptr) return rect;
    rect.top = column;
    rect.left = LVIR_BOUNDS;
    WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return rect;
}

POINT Middle(RECT rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

TEST(ProjectWindowFieldFiles, TheTableShowsTheFilesAndWhyOneIsRefused) {
    AppDirCopy dir{BuiltAppDir()};
    // 苯 at 50 µg/m³ over 2 km around the plant; 氨's file is cut short.
    std::string grid = "DSAA\n5 5\n-1000 1000\n-1000 1000\n50 50\n";
    for (int row = 0; row < 5; ++row) grid += "50 50 50 50 50\n";
    Write(dir.path() / L"苯.grd", grid);
    Write(dir.path() / L"坏.grd", "DSAA\n5 5\n-1000\n");
    std::string text = FileBytes(DocsDir() / "example.qvproj");
    text = text.substr(0, text.rfind('}')) +
           ",\n  \"fields\": [{\"pollutant\": \"苯\", \"file\": \"苯.grd\"},"
           " {\"pollutant\": \"氨\", \"file\": \"坏.grd\"}]\n}\n";
    const fs::path project = dir.path() / L"浓度场.qvproj";
    Write(project, text);

    RunningWindow window(dir.path() / "Quorvel.exe", project.wstring(), kProjectWindowClassName);
    ASSERT_NE(window.window(), nullptr);
    HWND tabs = GetDlgItem(window.window(), ids::kTableTabs);
    HWND fields = GetDlgItem(window.window(), ids::kFirstTable + static_cast<int>(TableId::Fields));
    HWND status = GetDlgItem(window.window(), ids::kStatus);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
    ASSERT_EQ(RowCount(fields), 2);
    EXPECT_EQ(CellText(window.process(), fields, 0, 0), L"苯");
    EXPECT_EQ(CellText(window.process(), fields, 0, 1), L"苯.grd");
    EXPECT_EQ(CellText(window.process(), fields, 1, 1), L"坏.grd");

    window.ClickAt(tabs,
                   Middle(TabRect(window.process(), tabs, static_cast<int>(TableId::Fields))));
    ASSERT_TRUE(window.WaitUntil([&] { return IsWindowVisible(fields) != FALSE; }, 10));

    // The field comes in the background: select the cells in turn until the
    // refused file's cell tells why.
    const auto clickCell = [&](int row) {
        window.ClickAt(fields, Middle(CellRect(window.process(), fields, row, 1)));
    };
    std::wstring reason;
    ASSERT_TRUE(window.WaitUntil(
        [&] {
            clickCell(0);
            clickCell(1);
            reason = window.Text(status);
            return reason.find(L"坏.grd") != std::wstring::npos;
        },
        60))
        << "status: " << reason.size();
    clickCell(0);
    EXPECT_EQ(window.Text(status).find(L".grd"), std::wstring::npos);
}

}  // namespace
}  // namespace quorvel
