#include <gtest/gtest.h>

#include "transfer/export_format.h"
#include "transfer/text_lines.h"

namespace transfer {
namespace {

using display::DisplayType;

TEST(ExportFormat, ChosenNameExtensionPicksItsFilter) {
  struct Row {
    const char* path;
    int selected;
    int expected;
  };
  for (const Row& row : {Row{"/tmp/a.csv", 1, 2}, Row{"/tmp/a.CSV", 3, 2}, Row{"/tmp/a.db", 1, 3},
                         Row{"/tmp/a.TXT", 2, 1}, Row{"/tmp/a.log", 2, 2},
                         Row{"/tmp/no.ext/file", 3, 3}, Row{"/tmp/file", 2, 2}})
    EXPECT_EQ(filterOfPath(row.path, row.selected), row.expected) << row.path;
}

TEST(ExportFormat, DisplaysWithoutAnExportOfTheirOwnExportUsers) {
  EXPECT_EQ(exportTableName(DisplayType::Files), "Exp_Files");
  EXPECT_EQ(exportTableName(DisplayType::Performance), "Exp_Users");
  EXPECT_EQ(exportTableName(DisplayType::None), "Exp_Users");
}

TEST(TextLines, SeparatorGoesBeforeEveryWrittenColumnButColumnZero) {
  const std::vector<std::string> cells = {"a", "b", "c", "d"};
  struct Row {
    std::vector<bool> hidden;
    char separator;
    const char* expected;
  };
  for (const Row& row : {Row{{}, '\t', "a\tb\tc\td\r\n"},
                         Row{{true, false, false, false}, '\t', "\tb\tc\td\r\n"},
                         Row{{false, true, false, true}, ',', "a,c\r\n"},
                         Row{{true, true, true, true}, ',', "\r\n"}}) {
    std::string line;
    appendListLine(line, cells, row.hidden, row.separator);
    EXPECT_EQ(line, row.expected);
  }
}

TEST(TextLines, LongLinesAndFieldsAreKeptWhole) {
  const std::vector<std::string> cells = {std::string(700, 'x'), std::string(300, 'y')};
  std::string line;
  appendListLine(line, cells, {}, ',');
  EXPECT_EQ(line.size(), 700u + 1 + 300 + 2);
  EXPECT_EQ(databaseValue(cells[1]).size(), 300u);
}

}  // namespace
}  // namespace transfer
