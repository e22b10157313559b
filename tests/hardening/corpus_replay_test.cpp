// Every stored fuzz input, the findings among them, through the fuzz targets'
// bodies in the ordinary and the sanitizer builds: a broken promise aborts.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "fuzz/fuzz_targets.h"

namespace quorvel::hardening {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream whole;
    whole << in.rdbuf();
    return whole.str();
}

using Body = std::function<int(const std::uint8_t*, std::size_t)>;

// Runs `body` on every file of the target's corpus; the number of files.
int Replay(const std::string& target, const Body& body) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(QUORVEL_FUZZ_CORPUS) / target)) {
        const std::string bytes = ReadBytes(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        body(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++count;
    }
    return count;
}

TEST(CorpusReplay, ReportsThroughTheReaderAndTheVerdict) {
    EXPECT_GT(Replay("report_verdict", fuzz::ReportVerdict), 10);
}

TEST(CorpusReplay, InputFieldsThroughTheCheck) {
    EXPECT_GT(Replay("input_check", fuzz::InputCheck), 5);
}

TEST(CorpusReplay, CodePageTexts) { EXPECT_GT(Replay("code_page", fuzz::CodePage), 2); }

TEST(CorpusReplay, AnswerFilesThroughTheModel) {
    EXPECT_GT(Replay("model_answers", fuzz::AnswerRun), 10);
}

TEST(CorpusReplay, ProjectFilesThroughTheReaderAndBack) {
    EXPECT_GT(Replay("project_reader", fuzz::ProjectReader), 10);
}

TEST(CorpusReplay, DrawingsThroughTheReaderAndTheImport) {
    EXPECT_GT(Replay("dxf_reader", fuzz::DxfReader), 4);
}

TEST(CorpusReplay, FieldFilesThroughTheReaders) {
    EXPECT_GT(Replay("field_files", fuzz::FieldFiles), 5);
}

}  // namespace
}  // namespace quorvel::hardening
