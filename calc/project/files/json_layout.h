#pragma once
// The layout of the files Quorvel writes as JSON: two-space indentation, one
// member or element a line, arrays of numbers on one line ("[120.0, 80.0]"),
// texts in UTF-8 as they are, a line feed at the end. Internal to the project
// files.

#include <string>

#include <nlohmann/json.hpp>

namespace quorvel::project {

using OrderedJson = nlohmann::ordered_json;

std::string LayoutJson(const OrderedJson& value);

// One value on one line as JSON writes it (numbers in their shortest exact
// form, invalid UTF-8 replaced by U+FFFD).
std::string CompactJson(const OrderedJson& value);

}  // namespace quorvel::project
