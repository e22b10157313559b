// Test child for the component: writes probe.txt into its working directory
// (the directory, the command line as received, then the STARTUPINFO flags,
// show state and fill attribute, one a line) and the line "probe started" to
// its standard output, then sleeps for argv[1] ms.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    FILE* out = std::fopen("probe.txt", "wb");
    if (out == nullptr) return 1;
    std::fprintf(out, "%s\n%s\n%lu\n%u\n%lu\n", directory, GetCommandLineA(),
                 static_cast<unsigned long>(startup.dwFlags),
                 static_cast<unsigned>(startup.wShowWindow),
                 static_cast<unsigned long>(startup.dwFillAttribute));
    std::fclose(out);
    std::fputs("probe started\n", stdout);
    std::fflush(stdout);
    if (argc > 1) Sleep(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
    return 0;
}
