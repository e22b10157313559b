#pragma once
// A copy of the build's application directory for one test, so that runs in
// it meet no other test's files; removed with everything in it at the end.

#include <filesystem>
#include <random>
#include <string>

namespace quorvel::test_support {

class ScratchAppDir {
  public:
    explicit ScratchAppDir(const std::filesystem::path& from) {
        path_ = std::filesystem::temp_directory_path() /
                ("quorvel-batch-app-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path_);
        for (const auto& entry : std::filesystem::directory_iterator(from)) {
            if (entry.is_regular_file()) {
                std::filesystem::copy_file(entry.path(), path_ / entry.path().filename());
            }
        }
    }
    ~ScratchAppDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchAppDir(const ScratchAppDir&) = delete;
    ScratchAppDir& operator=(const ScratchAppDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The folders that runs left behind.
    int FoldersLeft() const {
        int left = 0;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            left += entry.is_directory() ? 1 : 0;
        }
        return left;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace quorvel::test_support
