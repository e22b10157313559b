#pragma once
// The console tool's standard output, kept apart from the model programs'
// own messages: the models inherit the process's standard output, and their
// progress lines must not run into the results written to it.

#include <memory>
#include <ostream>

namespace quorvel {

// From construction on, the process's standard output (what child programs
// inherit) goes to the null device, and `stream()` writes to where standard
// output went before. When that cannot be arranged, `stream()` is std::cout
// and the models' messages stay in the output.
class ToolOutput {
  public:
    ToolOutput();
    ~ToolOutput();
    ToolOutput(const ToolOutput&) = delete;
    ToolOutput& operator=(const ToolOutput&) = delete;

    std::ostream& stream();

  private:
    struct Redirection;
    std::unique_ptr<Redirection> redirection_;
};

}  // namespace quorvel
