#include "dlgthreads/record_match.h"

#include <algorithm>

namespace dlgthreads {
namespace {

constexpr char foldAZ(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

constexpr int kUserColumns = 22;
constexpr int kGroupColumns = 3;
constexpr int kServerColumns = 33;
constexpr int kFilesColumns = 3;

}  // namespace

std::string upperAZ(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = foldAZ(c);
  return out;
}

int serverColumnWord(int column) {
  // The list shows the version before the build; the record keeps them the
  // other way round.
  switch (column) {
    case 24:
      return 26;
    case 25:
      return 25;
    default:
      return column + 1;
  }
}

RecordMatcher::RecordMatcher(MatchOptions options) : m_options(std::move(options)) {
  if (!m_options.matchCase) m_options.text = upperAZ(m_options.text);
}

bool RecordMatcher::textMatches(std::string_view text) const {
  const std::string_view wanted = m_options.text;
  if (m_options.matchCase) {
    return m_options.entireString ? text == wanted : text.find(wanted) != std::string_view::npos;
  }
  const auto same = [](char a, char b) { return foldAZ(a) == b; };
  if (m_options.entireString)
    return text.size() == wanted.size() &&
           std::equal(text.begin(), text.end(), wanted.begin(), same);
  return std::search(text.begin(), text.end(), wanted.begin(), wanted.end(), same) != text.end();
}

template <class Text>
bool RecordMatcher::anyColumn(int columns, Text text) const {
  if (m_options.column >= 0)
    return m_options.column < columns && textMatches(text(m_options.column));
  for (int c = 0; c < columns; ++c)
    if (textMatches(text(c))) return true;
  return false;
}

bool RecordMatcher::matches(const UserRecord& record) const {
  return record.tag != 0 &&
         anyColumn(kUserColumns, [&](int c) { return record.text(userColumnWord(c)); });
}

bool RecordMatcher::matches(const GroupRecord& record) const {
  return record.tag != 0 &&
         anyColumn(kGroupColumns, [&](int c) { return record.text(groupColumnWord(c)); });
}

bool RecordMatcher::matches(const ServerRecord& record) const {
  // The type flags are searched as the list shows them, "X" or "-": nobody
  // looks for the domain controllers by typing a 1.
  constexpr int kFirstFlagColumn = 2;
  constexpr int kLastFlagColumn = kFirstFlagColumn + ServerRecord::kTypeFlags - 1;
  return record.tag != 0 && anyColumn(kServerColumns, [&](int c) -> std::string_view {
           const int word = serverColumnWord(c);
           if (c >= kFirstFlagColumn && c <= kLastFlagColumn)
             return record.flag(word) == 1 ? "X" : "-";
           return record.text(word);
         });
}

bool RecordMatcher::matches(const QuotaRecord& record) const {
  return record.tag != 0 &&
         anyColumn(kQuotaColumns, [&](int c) { return quotaColumnText(record, c); });
}

bool RecordMatcher::matches(const FilesEntry& entry) const {
  return entry.displayMark != 0 && anyColumn(kFilesColumns, [&](int c) -> std::string_view {
           switch (c) {
             case 0:
               return entry.path;
             case 1:
               return entry.name;
             default:
               return entry.rights;
           }
         });
}

}  // namespace dlgthreads
