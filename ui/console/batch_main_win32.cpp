// quorvel-batch.exe on Windows.

#include <windows.h>

#include <iostream>

#include "ui/console/batch_tool.h"
#include "ui/console/runner_launchers.h"
#include "ui/console/tool_output.h"
#include "ui/win32/app_dir.h"
#include "ui/win32/wide_text.h"

int wmain(int argc, wchar_t* argv[]) {
    // The tool writes UTF-8; the console shows it as such.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(quorvel::Utf16(argv[i]));
    const std::filesystem::path appDir = quorvel::ApplicationDirectory();
    quorvel::ToolOutput output;
    return quorvel::RunBatchTool(arguments, appDir, quorvel::RunnerLauncherFactory(appDir),
                                 output.stream(), std::cerr);
}
