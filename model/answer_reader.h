#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "model/model_answers.h"

namespace quorvel {

// Gives the next answer line (without its line end) after showing the question
// where a person can see it; nullopt when the input has ended.
using AnswerSource = std::function<std::optional<std::string>(std::string_view question)>;

struct AnswerReading {
    std::optional<ModelAnswers> answers;
    std::string error;  // names the answer and what was expected; set when answers is empty
};

// Reads the answers of one area-source run in the order the questions are asked.
AnswerReading ReadAnswers(const AnswerSource& next_answer);

}  // namespace quorvel
