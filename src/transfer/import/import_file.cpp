#include "transfer/import/import_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

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

}  // namespace

ImportFileResult parseImportText(std::string_view bytes) {
  if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < nul; ++i)
      if (bytes[i] == '\n') ++line;
    return failed(importTexts::nulByte(line));
  }
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
  // for ever.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    return failed(std::string(importTexts::kCannotOpen));
  std::ifstream in(path, std::ios::binary);
  if (!in) return failed(std::string(importTexts::kCannotOpen));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return failed(std::string(importTexts::kCannotOpen));
  return parseImportText(bytes);
}

}  // namespace transfer
