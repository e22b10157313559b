#include "calc/project/field/field_out.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

#include "calc/error_reason.h"
#include "calc/project/field/files/csv_field.h"
#include "calc/project/field/files/surfer_grid.h"
#include "calc/project/files/atomic_file.h"
#include "calc/unicode_text.h"

namespace quorvel::project {
namespace {

constexpr std::array<std::string_view, 22> kReserved{
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

}  // namespace

std::string SafeFileStem(const std::string& pollutant) {
    // Through UTF-16 and back, so that broken UTF-8 cannot reach a file name.
    std::string stem = ToUtf8(FromUtf8(pollutant));
    for (char& c : stem) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            c = '_';
    }
    while (!stem.empty() && (stem.back() == '.' || stem.back() == ' ')) stem.pop_back();
    if (stem.empty()) return "pollutant";
    const std::string base = Upper(stem.substr(0, stem.find('.')));
    if (std::find(kReserved.begin(), kReserved.end(), base) != kReserved.end()) stem = "_" + stem;
    return stem;
}

Status PrepareFieldFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return Fail(u"无法建立浓度场输出文件夹: " + PathText(folder) + u"（" + ErrorReason(error) +
                    u"）");
    }
    if (!std::filesystem::is_directory(folder, error)) {
        return Fail(u"浓度场输出位置不是文件夹: " + PathText(folder));
    }
    return {};
}

Result<std::vector<std::filesystem::path>> WriteFieldGrids(
    const std::filesystem::path& folder, const std::vector<PollutantGrid>& grids) {
    if (Status ready = PrepareFieldFolder(folder); !ready) return Fail(ready.error());
    std::vector<std::filesystem::path> written;
    std::vector<std::string> used;
    for (const PollutantGrid& g : grids) {
        const std::string base = SafeFileStem(g.pollutant);
        std::string stem = base;
        for (int n = 2; std::find(used.begin(), used.end(), Upper(stem)) != used.end(); ++n) {
            stem = base + "-" + std::to_string(n);
        }
        used.push_back(Upper(stem));
        const std::filesystem::path grd = folder / PathFromText(FromUtf8(stem + ".grd"));
        const std::filesystem::path csv = folder / PathFromText(FromUtf8(stem + ".csv"));
        if (Status s = WriteFileAtomically(grd, SurferGridText(g.grid)); !s) return Fail(s.error());
        written.push_back(grd);
        if (Status s = WriteFileAtomically(csv, CsvFieldText(g.grid)); !s) return Fail(s.error());
        written.push_back(csv);
    }
    return written;
}

}  // namespace quorvel::project
