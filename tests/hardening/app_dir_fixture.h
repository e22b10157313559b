#pragma once
// What the fault tests share: a scratch application directory holding the
// runner component and a model program (the project's own or the stand-in),
// and the checks that a run leaves no descriptor open and no child behind.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quorvel::hardening {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream whole;
    whole << in.rdbuf();
    return whole.str();
}

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The number of descriptors this process holds open.
inline int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

// True when this process has no child at all, running or ended and unreaped.
inline bool NoChildLeft() {
    int status = 0;
    return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

// True when no process with this pid exists any more.
inline bool ProcessGone(pid_t pid) { return ::kill(pid, 0) == -1 && errno == ESRCH; }

// A fresh application directory, removed with everything in it at the end.
class ScratchAppDir {
  public:
    // `name`: the directory's name before its random ending.
    explicit ScratchAppDir(const std::string& name = "quorvel-hardening-") {
        std::string pattern = (fs::temp_directory_path() / (name + "XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
        // The runner component the launcher loads from the application directory.
        for (const auto& entry : fs::directory_iterator(QUORVEL_APP_DIR)) {
            if (entry.path().filename().string().find("Tolvane") != std::string::npos) {
                fs::copy_file(entry.path(), path_ / entry.path().filename());
            }
        }
    }
    ~ScratchAppDir() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    ScratchAppDir(const ScratchAppDir&) = delete;
    ScratchAppDir& operator=(const ScratchAppDir&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

    void UseRealModel() { InstallModel(QUORVEL_APP_DIR "/SCREEN3.EXE"); }

    // The stand-in model, told what to do by `mode` (see fake_model.cpp).
    void UseFakeModel(const std::string& mode) {
        InstallModel(QUORVEL_FAKE_MODEL);
        SetFakeMode(mode);
    }
    void SetFakeMode(const std::string& mode) { WriteBytes(path_ / "fake_model_mode", mode); }

    void InstallModel(const fs::path& program) {
        const fs::path model = path_ / "SCREEN3.EXE";
        std::error_code error;
        fs::remove(model, error);
        fs::copy_file(program, model);
        fs::permissions(model,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    }

    // The names of the run's files still in the directory, any letter case.
    std::string RunFilesLeft() const {
        std::string left;
        for (const auto& entry : fs::directory_iterator(path_)) {
            std::string name = entry.path().filename().string();
            std::string lower;
            for (const char c : name)
                lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower == "screen3.inp" || lower == "screen.out" || lower == "screen.dat") {
                left += (left.empty() ? "" : " ") + name;
            }
        }
        return left;
    }

  private:
    fs::path path_;
};

}  // namespace quorvel::hardening
