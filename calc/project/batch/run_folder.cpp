#include "calc/project/batch/run_folder.h"

#include <atomic>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>

#include "calc/error_reason.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

constexpr int kMostTries = 100;

// A name of the form "qv-run-<16 hex digits>", from a random start and a
// counter, so that two programs and two threads differ.
std::string NextName() {
    static std::atomic<std::uint64_t> counter{std::random_device{}()};
    const std::uint64_t number = counter.fetch_add(0x9E3779B97F4A7C15ULL);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string name = "qv-run-";
    for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(number >> shift) & 0xF];
    return name;
}

}  // namespace

Result<std::filesystem::path> MakeRunFolder(const std::filesystem::path& base) {
    std::error_code error;
    for (int attempt = 0; attempt < kMostTries; ++attempt) {
        const std::filesystem::path folder = base / NextName();
        if (std::filesystem::create_directory(folder, error)) return folder;
        if (error) break;
    }
    if (!error) error = std::make_error_code(std::errc::file_exists);
    return Fail(u"无法在" + PathText(base) + u"中创建运行文件夹（" + ErrorReason(error) + u"）!");
}

bool RemoveRunFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return !error && !std::filesystem::exists(folder, error);
}

}  // namespace quorvel::project
