// A stand-in for the model program, for the fault tests. It reads what to do
// from the file "fake_model_mode" in its working directory: one word, then
// the word's arguments, separated by blanks.
//
//   copy FILE            write FILE's bytes as the report SCREEN.OUT
//   truncate FILE BYTES  write only the first BYTES bytes of FILE as the report
//   rows COUNT           write a finished report with COUNT discrete rows
//   nothing              end without writing a report
//   killed FILE          write half of FILE as the report, then die of SIGKILL
//   crash                die of SIGSEGV before writing anything
//   hang                 write its pid to model.pid, ignore SIGTERM, sleep 60 s
//   fifo                 make SCREEN.OUT a named pipe
//   report_dir           make SCREEN.OUT a directory
//   link FILE            make SCREEN.OUT a symbolic link to FILE
//   delete_answers FILE  write FILE as the report and remove the answer file
//   answers_dir FILE     write FILE as the report and put a directory in the
//                        answer file's place
//
// Every mode first checks that it was started as the calculator starts the
// model, with the one argument "<Screen3.INP" and that file beside it, and
// ends with exit status 1 when not.
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "calc/run/tests/crafted_report.h"

namespace {

std::string ReadWhole(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream whole;
    whole << in.rdbuf();
    return whole.str();
}

void WriteReport(const std::string& bytes) {
    std::ofstream out("SCREEN.OUT", std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) != "<Screen3.INP" ||
        !std::filesystem::is_regular_file("Screen3.INP")) {
        std::cerr << "fake model: not started as the calculator starts the model\n";
        return 1;
    }
    std::istringstream mode(ReadWhole("fake_model_mode"));
    std::string word;
    std::string file;
    mode >> word;
    if (word == "copy") {
        mode >> file;
        WriteReport(ReadWhole(file));
    } else if (word == "truncate") {
        std::size_t bytes = 0;
        mode >> file >> bytes;
        WriteReport(ReadWhole(file).substr(0, bytes));
    } else if (word == "rows") {
        long count = 0;
        mode >> count;
        quorvel::test_support::CraftedReport report;
        for (long i = 1; i <= count; ++i) report.rows.emplace_back(static_cast<double>(i), 1.0);
        WriteReport(quorvel::test_support::ReportText(report));
    } else if (word == "nothing") {
    } else if (word == "killed") {
        mode >> file;
        const std::string bytes = ReadWhole(file);
        WriteReport(bytes.substr(0, bytes.size() / 2));
        std::raise(SIGKILL);
    } else if (word == "crash") {
        std::raise(SIGSEGV);
    } else if (word == "hang") {
        std::ofstream("model.pid") << getpid() << '\n';
        std::signal(SIGTERM, SIG_IGN);
        sleep(60);
    } else if (word == "fifo") {
        if (mkfifo("SCREEN.OUT", 0644) != 0) return 1;
    } else if (word == "report_dir") {
        std::filesystem::create_directory("SCREEN.OUT");
    } else if (word == "link") {
        mode >> file;
        std::filesystem::create_symlink(file, "SCREEN.OUT");
    } else if (word == "delete_answers") {
        mode >> file;
        WriteReport(ReadWhole(file));
        std::filesystem::remove("Screen3.INP");
    } else if (word == "answers_dir") {
        mode >> file;
        WriteReport(ReadWhole(file));
        std::filesystem::remove("Screen3.INP");
        std::filesystem::create_directory("Screen3.INP");
    } else {
        std::cerr << "fake model: unknown mode " << word << '\n';
        return 1;
    }
    return 0;
}
