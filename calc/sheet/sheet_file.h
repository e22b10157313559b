#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/result.h"
#include "calc/run_record.h"

namespace quorvel {

// The folder under the user's documents folder that holds the sheets.
inline constexpr char16_t kSheetFolderName[] = u"Quorvel";

// "计算书_YYYYMMDD-HHMMSS.html" for the moment a run finished.
std::u16string SheetFileName(const LocalTime& finished);

// Writes `content` as documentsDir/Quorvel/`fileName` (a name ending in
// ".html"), making the folder when needed, and returns the file's path. A
// file of that name with other content is kept: the new one gets "_2",
// "_3" ... before ".html"; one with the same content is the sheet itself and
// is returned as it is. An error text naming the folder or file and the
// system's reason when it cannot be written; no partial file is left.
Result<std::filesystem::path> SaveSheetInDocuments(const std::filesystem::path& documentsDir,
                                                   std::u16string_view fileName,
                                                   const std::string& content);

// Writes the calculation sheet of `record` into documentsDir/Quorvel, making
// that folder when needed, and returns the file's path. A sheet of the same
// name with other content is kept: the new one gets "_2", "_3" ... before
// ".html". An error text with the folder or file and the system's reason when
// it cannot be written; no partial file is left behind.
Result<std::filesystem::path> SaveCalculationSheet(const std::filesystem::path& documentsDir,
                                                   const RunRecord& record);

}  // namespace quorvel
