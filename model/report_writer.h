#pragma once

#include <string>

#include "model/model_answers.h"
#include "model/model_run.h"

namespace quorvel {

// The line that tells a reader the run finished.
inline constexpr const char* kCompletionText = "REMEMBER TO INCLUDE BACKGROUND CONCENTRATIONS";

struct RunStamp {
    std::string date;  // e.g. 12/08/26
    std::string time;  // e.g. 01:23:45
};

// The report of a finished run, CR LF line ends.
std::string WriteReport(const ModelAnswers& answers, const ModelResults& results,
                        const RunStamp& stamp);

// The distance and concentration pairs of the automated table, one pair a line, CR LF.
std::string WriteDataFile(const ModelResults& results);

// The report of a run stopped by a bad answer: the message, no completion text.
std::string WriteFailureReport(const std::string& message, const RunStamp& stamp);

// One table row of exactly 64 characters (no line end).
std::string FormatTableRow(const ResultRow& row, double release_height);

}  // namespace quorvel
