#pragma once
// Writing a finished sheet into the documents folder's Quorvel folder, where
// the calculation sheets go too.

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/result.h"

namespace quorvel {

// Writes `content` as documentsDir/Quorvel/`fileName` (a name ending in
// ".html"), making the folder when needed, and returns the file's path. A
// file of that name with other content is kept: the new one gets "_2",
// "_3" ... before ".html"; one with the same content is the sheet itself and
// is returned as it is. An error text naming the folder or file and the
// system's reason when it cannot be written; no partial file is left.
Result<std::filesystem::path> SaveSheetInDocuments(const std::filesystem::path& documentsDir,
                                                   std::u16string_view fileName,
                                                   const std::string& content);

}  // namespace quorvel
