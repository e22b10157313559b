#pragma once
// The group codes and values of an ASCII DXF file: each pair of lines, the
// code's line number kept for messages.

#include <string_view>
#include <vector>

#include "calc/result.h"

namespace quorvel::project::dxf {

struct Group {
    int code = 0;
    std::string_view value;  // without the line end and trailing blanks
    int line = 0;            // the line of the code, from 1
};

// The groups of `bytes` (they must outlive the result), or why the bytes are
// not an ASCII DXF file: a DWG, a binary DXF, a text that is no DXF, a
// group code that is not a number, a file cut off before its end. The
// message has no file name; the caller adds it.
Result<std::vector<Group>> ReadGroups(std::string_view bytes);

// A group's value as a number, or why it is none ("第 N 行…").
Result<double> GroupNumber(const Group& group);
Result<int> GroupInteger(const Group& group);

}  // namespace quorvel::project::dxf
