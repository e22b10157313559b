// The area-source screening model as a console program: answers from the
// file named by a "<" argument, or asked for on the console; the report goes
// to SCREEN.OUT and the automated table to SCREEN.DAT in the working directory.
#include <ctime>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <sstream>

#include "model/answer_files.h"
#include "model/answer_reader.h"
#include "model/model_run.h"
#include "model/report_writer.h"

namespace {

constexpr const char* kReportFile = "SCREEN.OUT";
constexpr const char* kDataFile = "SCREEN.DAT";

enum ExitCode { kFinished = 0, kBadAnswer = 1, kNoAnswerFile = 2, kCannotWrite = 3, kFailed = 4 };

quorvel::RunStamp Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char date[16];
    char time[16];
    std::strftime(date, sizeof date, "%m/%d/%y", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return {date, time};
}

bool WriteWhole(const char* name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

int Stop(int code, const std::string& message) {
    std::cerr << message << '\n';
    WriteWhole(kReportFile, quorvel::WriteFailureReport(message, Now()));
    return code;
}

int Run(int argc, char** argv) {
    // A report left by an earlier run must not pass for this run's.
    std::error_code ec;
    std::filesystem::remove(kReportFile, ec);
    std::filesystem::remove(kDataFile, ec);

    quorvel::AnswerReading reading;
    if (const auto name = quorvel::AnswerFileArgument(argc, argv)) {
        const auto path = quorvel::FindFileIgnoringCase(std::filesystem::current_path(ec), *name);
        std::ifstream in;
        if (path) in.open(*path, std::ios::binary);
        if (!path || !in.is_open())
            return Stop(kNoAnswerFile, "Cannot open the answer file \"" + *name + "\".");
        std::ostringstream whole;
        whole << in.rdbuf();
        const std::vector<std::string> lines = quorvel::SplitLines(whole.str());
        std::size_t next = 0;
        reading = quorvel::ReadAnswers([&](std::string_view) -> std::optional<std::string> {
            if (next >= lines.size()) return std::nullopt;
            return lines[next++];
        });
    } else {
        reading = quorvel::ReadAnswers([](std::string_view question) -> std::optional<std::string> {
            std::cout << question << ' ' << std::flush;
            std::string line;
            if (!std::getline(std::cin, line)) return std::nullopt;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        });
    }
    if (!reading.answers) return Stop(kBadAnswer, reading.error);

    const quorvel::ModelResults results = quorvel::RunModel(*reading.answers);
    const std::string report = quorvel::WriteReport(*reading.answers, results, Now());
    if (!WriteWhole(kDataFile, quorvel::WriteDataFile(results)) ||
        !WriteWhole(kReportFile, report)) {
        std::filesystem::remove(kReportFile, ec);
        std::cerr << "Cannot write " << kReportFile << " and " << kDataFile
                  << " in the working directory.\n";
        return kCannotWrite;
    }
    std::cout << "\nRun finished: report in " << kReportFile << ".\n";
    return kFinished;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        return Stop(kFailed, "Out of memory.");
    } catch (const std::exception& e) {
        return Stop(kFailed, std::string("Run failed: ") + e.what());
    }
}
