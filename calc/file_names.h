#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace quorvel {

// The path of an existing regular file in `directory` whose name equals `name`
// when ASCII letter case is ignored (a directory of that name does not count).
// An exact match is preferred; among several others the first in name order.
// nullopt when there is none or the directory cannot be read.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                          std::u16string_view name);
// `name` in UTF-8.
std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                          std::string_view name);

}  // namespace quorvel
