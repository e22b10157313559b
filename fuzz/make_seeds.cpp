// Writes the calculator's answer files for a few typical and edge inputs into
// the directory given as the only argument: the seeds of the answer-run corpus
// and the inputs from which the model's reports in the report corpus are made.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/answer_file.h"
#include "calc/calculation_inputs.h"

namespace {

quorvel::CalculationInputs Inputs(std::u16string height, std::u16string width,
                                  std::u16string length, std::u16string rate, std::int16_t unit,
                                  std::int16_t location) {
    quorvel::CalculationInputs inputs;
    inputs.HeightText = std::move(height);
    inputs.WidthText = std::move(width);
    inputs.LengthText = std::move(length);
    inputs.RateText = std::move(rate);
    inputs.RateUnit = unit;
    inputs.LocationIndex = location;
    return inputs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output-directory\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::vector<std::pair<const char*, quorvel::CalculationInputs>> seeds = {
        {"default", quorvel::CalculationInputs{}},
        {"rural_kg_per_hour", Inputs(u"5", u"50", u"200", u"3.6", 1, 0)},
        {"tonnes_per_year", Inputs(u"2", u"30", u"30", u"50", 2, 1)},
        {"strong_source", Inputs(u"1", u"500", u"500", u"5000", 0, 1)},
        {"ratio_ten", Inputs(u"10", u"10", u"100", u"0.01", 0, 0)},
        {"ground_level", Inputs(u"0", u"1", u"1", u"1E-6", 0, 1)},
    };
    for (const auto& [name, inputs] : seeds) {
        const auto written = quorvel::WriteAnswerFile(out / (std::string(name) + ".INP"), inputs);
        if (!written) {
            std::fprintf(stderr, "cannot write the seed %s\n", name);
            return 1;
        }
    }
    return 0;
}
