#pragma once
// The texts the import shows: the wizard's messages, quoted exactly, and the
// messages about faulty files.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace transfer::importTexts {

inline constexpr std::string_view kCannotOpen =
    "An error occured while trying to open the import file.";
inline constexpr std::string_view kUnsupportedColumn =
    "The following input column is not supported:\n";
inline constexpr std::string_view kDuplicatedColumn = "The following input column is given twice:\n";
inline constexpr std::string_view kAttemptFailed =
    "The import attempt has failed.\nDo you wish to continue attempting\nthe import?";
inline constexpr std::string_view kImportFailedCaption = "Import Failed";
inline constexpr std::string_view kImportErrorCaption = "Import Error";
inline constexpr std::string_view kErrorCaption = "Error";
inline constexpr std::string_view kErrorImportingCaption = "Error Importing";
inline constexpr std::string_view kErrornumCaption = "Errornum";
inline constexpr std::string_view kHomeCaption = "Error creating home directories.";
inline constexpr std::string_view kGroupImportFailed = "The Import has failed.\nOperation will cease.";
inline constexpr std::string_view kLocalClash =
    "A local group is being imported\nwhile a global group of the same name\nalready exists.";
inline constexpr std::string_view kGlobalClash =
    "A global group is being imported\nwhile a local group of the same name\nalready exists.";
inline constexpr std::string_view kCouldNotAddGroup = "Could not add group";
inline constexpr std::string_view kCouldNotUpdateGroup = "Could not update GROUP";
inline constexpr std::string_view kCouldNotAddLocalGroup = "Could not add LOCAL group";
inline constexpr std::string_view kCouldNotUpdateLocalGroup = "Could not update LOCAL group";
inline constexpr unsigned kStrPasswordTooShort = 59331;

inline constexpr std::string_view kEmptyFile = "The import file is empty.";
inline constexpr std::string_view kNoRecords =
    "The import file holds a header line but no records.";

inline std::string nulByte(std::size_t line) {
  return "The import file holds a NUL byte on line " + std::to_string(line) +
         ", so it is not a text file.";
}
inline std::string fileTooLarge(std::uint64_t limit) {
  return "The import file holds more than " + std::to_string(limit) +
         " bytes, the most an import file may hold.";
}
inline std::string lineTooLong(std::size_t line, std::size_t limit) {
  return "Line " + std::to_string(line) + " of the import file is longer than " +
         std::to_string(limit) + " bytes.";
}
inline std::string tooManyColumns(std::size_t line, std::size_t cells, std::size_t limit) {
  return "Line " + std::to_string(line) + " of the import file has " + std::to_string(cells) +
         " cells; an import file has at most " + std::to_string(limit) + " columns.";
}
inline std::string tooManyCells(std::size_t line, std::size_t limit) {
  return "The import file holds more than " + std::to_string(limit) +
         " cells (records times columns); line " + std::to_string(line) + " is one too many.";
}
inline std::string emptyTitle(std::size_t column) {
  return "Column " + std::to_string(column) + " of the import file's header has no title.";
}
inline std::string raggedLine(std::size_t line, std::size_t cells, std::size_t columns) {
  return "Line " + std::to_string(line) + " of the import file has " + std::to_string(cells) +
         (cells == 1 ? " cell" : " cells") + " where the header has " + std::to_string(columns) +
         (columns == 1 ? " column." : " columns.");
}

}  // namespace transfer::importTexts
