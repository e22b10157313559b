#include <cstdint>
#include <string>
#include <string_view>

#include "calc/check_inputs.h"
#include "calc/project/files/emission_inputs.h"
#include "calc/project/files/project_file.h"
#include "fuzz/fuzz_targets.h"

namespace quorvel::fuzz {

int ProjectReader(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<project::Project> read = project::ReadProject(bytes);
    if (!read.ok()) {
        Require(!read.error().empty(), "a refused file says why");
        return 0;
    }
    const project::Project& project = read.value();

    // Saving and reading again gives the same project, and saving that the
    // same bytes.
    const std::string json = project::ProjectJson(project);
    Require(json.rfind("{\n", 0) == 0 && json.back() == '\n',
            "a saved project is one object a file");
    const Result<project::Project> again = project::ReadProject(json);
    Require(again.ok(), "a saved project reads again");
    Require(again.value() == project, "reading a saved project gives the same project");
    Require(project::ProjectJson(again.value()) == json, "saving it again gives the same bytes");

    // Every row is the window's inputs, which pass the window's check, or a
    // message.
    for (std::size_t i = 0; i < project.emissions.size(); ++i) {
        const Result<CalculationInputs> inputs = project::EmissionInputs(project, i);
        if (inputs.ok()) {
            Require(DecideCheckInputs(inputs.value()).pass,
                    "a row's inputs pass the window's check");
        } else {
            Require(!inputs.error().empty(), "a wrong row says why");
        }
    }
    return 0;
}

}  // namespace quorvel::fuzz
