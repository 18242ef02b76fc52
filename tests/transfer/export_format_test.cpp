#include <gtest/gtest.h>

#include "transfer/export_format.h"
#include "transfer/text_lines.h"

namespace transfer {
namespace {

using display::DisplayType;

TEST(ExportFormat, DisplaysWithoutAnExportOfTheirOwnExportUsers) {
  EXPECT_EQ(exportTableName(DisplayType::Files), "Exp_Files");
  EXPECT_EQ(exportTableName(DisplayType::Performance), "Exp_Performance");
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

// What a spreadsheet would split or join is quoted in CSV. The tab file
// cannot quote: a tab, CR or LF inside a cell (a group comment, say) would
// split the row or add rows of its own, so each becomes one space, and a
// tree node's text cannot pose as a deeper level or a node of its own.
TEST(TextLines, CsvQuotesWhatWouldBreakTheLineAndTheTabFileWritesItAsSpaces) {
  const std::vector<std::string> cells = {"plain", "Project team, not yet staffed", "say \"hi\"",
                                          "two\r\nlines", "tab\there", "",
                                          "x\r\nevil\tEvil Row\t"};
  std::string csv;
  appendListLine(csv, cells, {}, ',', CellQuoting::Rfc4180);
  EXPECT_EQ(csv,
            "plain,\"Project team, not yet staffed\",\"say \"\"hi\"\"\",\"two\r\nlines\","
            "tab\there,,\"x\r\nevil\tEvil Row\t\"\r\n");
  std::string tab;
  appendListLine(tab, cells, {}, '\t', quotingOf(ExportFormat::TabText));
  EXPECT_EQ(tab, "plain\tProject team, not yet staffed\tsay \"hi\"\ttwo  lines\ttab here\t\t"
                 "x  evil Evil Row \r\n");
  EXPECT_EQ(quotingOf(ExportFormat::CsvText), CellQuoting::Rfc4180);

  std::string tree;
  appendTreeLine(tree, 1, "Team\t(RW)\r\n\tforged");
  EXPECT_EQ(tree, "\tTeam (RW)   forged\r\n");
}

}  // namespace
}  // namespace transfer
