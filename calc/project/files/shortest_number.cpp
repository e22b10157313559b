#include "calc/project/files/shortest_number.h"

#include <array>
#include <charconv>

namespace quorvel::project {

std::string ShortestNumber(double value) {
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), written.ptr);
}

std::string RoundedNumber(double value, int digits) {
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::general, digits);
    return std::string(buffer.data(), written.ptr);
}

}  // namespace quorvel::project
