#include "transfer/import/import_file.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

#include "platform/regular_file.h"
#include "transfer/import/import_texts.h"
#include "transfer/import/text_encoding.h"

namespace transfer {

namespace {

std::vector<std::string> splitCells(std::string_view line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      cells.emplace_back(line.substr(start));
      return cells;
    }
    cells.emplace_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

ImportFileResult failed(std::string message) { return {std::nullopt, std::move(message)}; }

// Follows the lines of a file's raw bytes as they come, so that a line too
// long is refused as soon as it has been read, not once the file is held.
class LineWatch {
 public:
  // False once the line being read is longer than the limit.
  bool feed(std::string_view bytes) {
    while (!bytes.empty()) {
      const std::size_t end = bytes.find('\n');
      m_length += end == std::string_view::npos ? bytes.size() : end;
      if (m_length > kMaxImportLineBytes) return false;
      if (end == std::string_view::npos) break;
      ++m_line;
      m_length = 0;
      bytes.remove_prefix(end + 1);
    }
    return true;
  }
  // The 1-based number of the line being read.
  std::size_t line() const { return m_line; }

 private:
  std::size_t m_line = 1;
  std::size_t m_length = 0;
};

}  // namespace

ImportFileResult parseImportText(std::string_view bytes) {
  if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < nul; ++i)
      if (bytes[i] == '\n') ++line;
    return failed(importTexts::nulByte(line));
  }
  if (LineWatch lines; !lines.feed(bytes))
    return failed(importTexts::lineTooLong(lines.line(), kMaxImportLineBytes));
  ImportTable table;
  std::string converted;
  std::string_view text = bytes;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (!isValidUtf8(text)) {
    converted = windows1252ToUtf8(text);
    text = converted;
    table.fromWindows1252 = true;
  }

  bool haveHeader = false;
  std::size_t lineNumber = 0;
  std::string line;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    line.clear();
    line.reserve(raw.size());
    for (const char c : raw)
      if (c != '\r') line += c;
    if (line.empty()) continue;
    // Counted before they are made: an empty cell costs far more than its tab.
    const auto cellCount = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) + 1;
    if (cellCount > kMaxImportColumns)
      return failed(importTexts::tooManyColumns(lineNumber, cellCount, kMaxImportColumns));
    if (haveHeader && (table.rows.size() + 1) * table.header.size() > kMaxImportCells)
      return failed(importTexts::tooManyCells(lineNumber, kMaxImportCells));
    std::vector<std::string> cells = splitCells(line);
    if (!haveHeader) {
      for (std::size_t i = 0; i < cells.size(); ++i)
        if (cells[i].empty()) return failed(importTexts::emptyTitle(i + 1));
      table.header = std::move(cells);
      haveHeader = true;
      continue;
    }
    if (cells.size() != table.header.size())
      return failed(importTexts::raggedLine(lineNumber, cells.size(), table.header.size()));
    table.rows.push_back(ImportRow{lineNumber, std::move(cells)});
  }
  if (!haveHeader) return failed(std::string(importTexts::kEmptyFile));
  if (table.rows.empty()) return failed(std::string(importTexts::kNoRecords));
  return {std::move(table), {}};
}

ImportFileResult readImportFile(const std::string& path) {
  // A directory or a device is no import file, and a device could be read
  // for ever; the size is known before anything is read.
  platform::FileDescriptor fd;
  std::uint64_t size = 0;
  std::string why;
  platform::FileRefusal refusal = platform::FileRefusal::None;
  if (!platform::openRegularFile(path, kMaxImportFileBytes, &fd, &size, &why, &refusal)) {
    if (refusal == platform::FileRefusal::TooLarge)
      return failed(importTexts::fileTooLarge(kMaxImportFileBytes));
    if (refusal == platform::FileRefusal::NotRegular)
      return failed(std::string(importTexts::kCannotOpen) + "\n" + why);
    return failed(std::string(importTexts::kCannotOpen));
  }
  // Read in pieces, each line watched as it comes; a file that grows while
  // read is held to the same limit.
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size));
  LineWatch lines;
  char piece[65536];
  while (true) {
    const ssize_t n = ::read(fd.get(), piece, sizeof piece);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failed(std::string(importTexts::kCannotOpen));
    if (n == 0) break;
    const std::string_view got(piece, static_cast<std::size_t>(n));
    if (bytes.size() + got.size() > kMaxImportFileBytes)
      return failed(importTexts::fileTooLarge(kMaxImportFileBytes));
    if (!lines.feed(got)) return failed(importTexts::lineTooLong(lines.line(), kMaxImportLineBytes));
    bytes += got;
  }
  return parseImportText(bytes);
}

}  // namespace transfer
