#include "calc/program_version.h"

namespace quorvel {

std::string ProgramVersion() {
    return std::to_string(QUORVEL_VERSION_MAJOR) + "." + std::to_string(QUORVEL_VERSION_MINOR) +
           "." + std::to_string(QUORVEL_VERSION_PATCH);
}

}  // namespace quorvel
