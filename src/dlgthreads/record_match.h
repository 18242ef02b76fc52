#pragma once
// Find and filter test records, not the texts a list happens to show, so
// they work the same whatever the list's column widths or sort order. A
// record matches when it is kept (tag not 0) and one of the tested columns
// holds the search text (or equals it, with "entire string"). Without
// "match case" only the letters A to Z fold, as the sort does. Plain C++.

#include <string>
#include <string_view>

#include "dlgthreads/quota_data.h"
#include "dlgthreads/records.h"

namespace dlgthreads {

struct MatchOptions {
  std::string text;
  bool entireString = false;
  bool matchCase = false;
  int column = -1;  // -1: every column
};

class RecordMatcher {
 public:
  explicit RecordMatcher(MatchOptions options);

  bool matches(const UserRecord& record) const;
  bool matches(const GroupRecord& record) const;
  bool matches(const ServerRecord& record) const;
  bool matches(const QuotaRecord& record) const;
  // The Files rights dump: path, name, rights.
  bool matches(const FilesEntry& entry) const;

  // One column's text against the search text.
  bool textMatches(std::string_view text) const;
  const MatchOptions& options() const { return m_options; }

 private:
  template <class Text>
  bool anyColumn(int columns, Text text) const;

  MatchOptions m_options;  // text already folded unless matchCase
};

// The letters A-Z folded to upper case, nothing else.
std::string upperAZ(std::string_view text);

// The record word a list column shows (the lists' fixed column numbering).
constexpr int userColumnWord(int column) { return column < 18 ? column + 1 : column + 2; }
constexpr int groupColumnWord(int column) { return column + 1; }
int serverColumnWord(int column);

}  // namespace dlgthreads
