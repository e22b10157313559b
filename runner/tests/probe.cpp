// Test child: writes probe.txt into its working directory. Line 1 is that
// directory, line 2 the device and inode of its standard input, then one line
// per argument after the program name.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    std::ofstream out("probe.txt");
    out << std::filesystem::current_path().string() << '\n';
    struct stat input {};
    if (::fstat(0, &input) == 0) {
        out << input.st_dev << ':' << input.st_ino << '\n';
    } else {
        out << "closed\n";
    }
    for (int i = 1; i < argc; ++i) {
        out << argv[i] << '\n';
    }
    return out ? 0 : 1;
}
