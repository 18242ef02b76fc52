// The import file reader: line ends, encodings and the faults it refuses.

#include "transfer/import/import_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "../support/temp_folder.h"
#include "transfer/import/import_header.h"
#include "transfer/import/text_encoding.h"

namespace transfer {
namespace {

using Cells = std::vector<std::string>;

ImportTable parsed(std::string_view bytes) {
  ImportFileResult result = parseImportText(bytes);
  EXPECT_TRUE(result.table) << result.error;
  return result.table ? *result.table : ImportTable{};
}

TEST(ImportFile, LineEndsOfEveryKindGiveTheSameRecords) {
  for (const std::string_view text :
       {std::string_view("UserName\tFull Name\nann\tAnn A\nben\tBen B\n"),
        std::string_view("UserName\tFull Name\r\nann\tAnn A\r\nben\tBen B\r\n"),
        std::string_view("UserName\tFull Name\nann\tAnn A\nben\tBen B"),  // no final LF
        std::string_view("User\rName\tFull Name\n\nann\tAnn A\r\n\r\nben\tBen B\n\n")}) {
    const ImportTable t = parsed(text);
    EXPECT_EQ(t.header, (Cells{"UserName", "Full Name"})) << text;
    ASSERT_EQ(t.rows.size(), 2u) << text;
    EXPECT_EQ(t.rows[0].cells, (Cells{"ann", "Ann A"}));
    EXPECT_EQ(t.rows[1].cells, (Cells{"ben", "Ben B"}));
  }
  // Empty lines hold no record but keep the line numbers true.
  EXPECT_EQ(parsed("UserName\n\n\nann\n").rows.at(0).line, 4u);
  // Two adjacent tabs give an empty cell.
  EXPECT_EQ(parsed("UserName\tPassword\tFull Name\nann\t\tAnn\n").rows.at(0).cells,
            (Cells{"ann", "", "Ann"}));
}

TEST(ImportFile, LinesOfAnyLengthAreReadWhole) {
  // Far beyond any read piece, and a last line without a line end.
  const std::string longComment(200000, 'x');
  const ImportTable t = parsed("UserName\tDescription\nann\t" + longComment + "\nben\t" +
                               longComment);
  ASSERT_EQ(t.rows.size(), 2u);
  EXPECT_EQ(t.rows[0].cells[1], longComment);
  EXPECT_EQ(t.rows[1].cells[1], longComment);
}

TEST(ImportFile, Utf8IsKeptAndOtherFilesReadAsWindows1252) {
  const ImportTable utf8 = parsed("UserName\tFull Name\njose\tJos\xC3\xA9 \xE2\x82\xAC\n");
  EXPECT_FALSE(utf8.fromWindows1252);
  EXPECT_EQ(utf8.rows[0].cells[1], "Jos\xC3\xA9 \xE2\x82\xAC");
  // A byte-order mark is not part of the first title.
  EXPECT_EQ(parsed("\xEF\xBB\xBFUserName\nann\n").header, Cells{"UserName"});

  const ImportTable ansi = parsed("UserName\tFull Name\njose\tJos\xE9 \x80\x81\n");
  EXPECT_TRUE(ansi.fromWindows1252);
  // e acute, the euro sign, and the replacement for the undefined 0x81.
  EXPECT_EQ(ansi.rows[0].cells[1], "Jos\xC3\xA9 \xE2\x82\xAC\xEF\xBF\xBD");
  EXPECT_TRUE(isValidUtf8(ansi.rows[0].cells[1]));

  // Forms that look like UTF-8 but are not.
  for (const std::string_view bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82",
                                     "\xFF"})
    EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

TEST(ImportFile, FaultyFilesAreRefusedWithOneClearMessage) {
  struct Case {
    std::string bytes;
    std::string message;
  };
  const Case cases[] = {
      {"", "The import file is empty."},
      {"\r\n\n", "The import file is empty."},
      {"UserName\tFull Name\r\n", "The import file holds a header line but no records."},
      {std::string("UserName\nann\nb\0b\n", 17),
       "The import file holds a NUL byte on line 3, so it is not a text file."},
      {"UserName\t\tFull Name\nann\t\tAnn\n",
       "Column 2 of the import file's header has no title."},
      {"UserName\tFull Name\nann\tAnn\nben\n",
       "Line 3 of the import file has 1 cell where the header has 2 columns."},
      {"UserName\tFull Name\nann\tAnn\tspare\n",
       "Line 2 of the import file has 3 cells where the header has 2 columns."},
  };
  for (const Case& c : cases) {
    const ImportFileResult result = parseImportText(c.bytes);
    EXPECT_FALSE(result.table) << c.message;
    EXPECT_EQ(result.error, c.message);
  }
}

TEST(ImportFile, FilesThatCannotBeReadGiveTheOpenMessage) {
  const std::string message = "An error occured while trying to open the import file.";
  EXPECT_EQ(readImportFile("/nonexistent/import.txt").error, message);
  // A directory says what it is.
  const std::string folder = std::filesystem::temp_directory_path().string();
  EXPECT_EQ(readImportFile(folder).error, message + "\n" + folder + ": not a regular file (a directory)");

  const auto path = std::filesystem::temp_directory_path() / "veltrane-import-read-test.txt";
  std::ofstream(path, std::ios::binary) << "UserName\r\nann\r\n";
  const ImportFileResult result = readImportFile(path.string());
  std::filesystem::remove(path);
  ASSERT_TRUE(result.table) << result.error;
  EXPECT_EQ(result.table->rows.at(0).cells, Cells{"ann"});
}

// Files built to fill memory are refused by their size, or by their first
// line too long or too wide, before more of them is held.
TEST(ImportFile, FilesPastTheLimitsAreRefusedBeforeTheyAreHeld) {
  test_support::TempFolder folder;
  // Past the file limit: refused by its size (a sparse file, no disk used).
  const std::string huge = folder.write("huge.txt", "UserName\nann\n");
  std::filesystem::resize_file(huge, kMaxImportFileBytes + 1);
  EXPECT_EQ(readImportFile(huge).error,
            "The import file holds more than 268435456 bytes, the most an import file may hold.");

  // A header, then 200 MB without a line end (the sparse file's zeros):
  // refused once line 2 passes 1 MiB. Read whole, the file would have
  // been refused for its NUL bytes instead.
  const std::string endless = folder.write("endless.txt", "UserName\n");
  std::filesystem::resize_file(endless, 200u << 20);
  EXPECT_EQ(readImportFile(endless).error, "Line 2 of the import file is longer than 1048576 bytes.");

  // A pipe would be waited on, a device read for ever.
  const std::string fifo = folder / "pipe.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(readImportFile(fifo).error, "An error occured while trying to open the import file.\n" +
                                            fifo + ": not a regular file (a pipe)");
  EXPECT_EQ(readImportFile("/dev/zero").error,
            "An error occured while trying to open the import file.\n/dev/zero: not a regular file (a device)");

  // 50 MB of tabs: one message, no cell made.
  EXPECT_EQ(parseImportText("UserName\n" + std::string(50 << 20, '\t')).error,
            "Line 2 of the import file is longer than 1048576 bytes.");
  EXPECT_EQ(parseImportText("UserName" + std::string(100000, '\t') + "\nann\n").error,
            "Line 1 of the import file has 100001 cells; an import file has at most 64 columns.");
  // Cells past the limit: many short records of the widest header.
  std::string wide = "UserName";
  for (std::size_t i = 1; i < kMaxImportColumns; ++i) wide += "\tt";
  wide += '\n';
  std::string record(kMaxImportColumns + 1, '\t');
  record.front() = 'a';
  record.back() = '\n';
  std::string text = wide;
  for (std::size_t i = 0; i <= kMaxImportCells / kMaxImportColumns; ++i) text += record;
  EXPECT_EQ(parseImportText(text).error,
            "The import file holds more than 4000000 cells (records times columns); line 62502 is one "
            "too many.");
}

// However many titles are refused, the header gives one message: the first
// few, escaped, and how many more.
TEST(ImportHeader, ManyRefusedTitlesGiveOneShortMessage) {
  std::vector<std::string> titles{"UserName", "Home", "Home", "Home", "Bad\x1b[2J\a"};
  for (int i = 0; i < 100000; ++i) titles.push_back("col" + std::to_string(i));
  const ImportHeader header = checkImportHeader(titles);
  EXPECT_EQ(header.kind, ImportKind::None);
  EXPECT_EQ(header.messages,
            Cells{"The following 100001 input columns are not supported:\nBad\\x1b[2J\\a\ncol0\ncol1\n"
                  "col2\ncol3\n\xE2\x80\xA6 and 99996 more\n"
                  "The following input column is given twice:\nHome"});

  const ImportHeader longTitle = checkImportHeader({"GroupName", std::string(1 << 20, 'x')});
  ASSERT_EQ(longTitle.messages.size(), 1u);
  EXPECT_EQ(longTitle.messages[0], "The following input column is not supported:\n" + std::string(200, 'x') +
                                        "\xE2\x80\xA6 (1048376 more bytes)");
}

TEST(ImportHeader, KindsColumnsAndRefusedTitles) {
  const ImportHeader users = checkImportHeader({"UserName", "Home", "Password"});
  EXPECT_EQ(users.kind, ImportKind::Users);
  EXPECT_EQ(users.at(UserColumn::Home), 1u);
  EXPECT_EQ(users.at(UserColumn::Password), 2u);
  EXPECT_FALSE(users.at(UserColumn::Drive));
  EXPECT_TRUE(users.messages.empty());

  const ImportHeader groups = checkImportHeader({"GroupName", "Comment", "UserName"});
  EXPECT_EQ(groups.kind, ImportKind::Groups);
  EXPECT_EQ(groups.at(GroupColumn::UserName), 2u);

  // Wrong case is not a user file, and says nothing of its columns.
  const ImportHeader lower = checkImportHeader({"username", "Shoe size"});
  EXPECT_EQ(lower.kind, ImportKind::None);
  EXPECT_TRUE(lower.messages.empty());

  const ImportHeader unknown = checkImportHeader({"UserName", "Shoe size", "Full Name", "Home", "Home"});
  EXPECT_EQ(unknown.kind, ImportKind::None);
  EXPECT_EQ(unknown.messages,
            Cells{"The following input column is not supported:\nShoe size\n"
                  "The following input column is given twice:\nHome"});

  const ImportHeader groupUnknown = checkImportHeader({"GroupName", "Members"});
  EXPECT_EQ(groupUnknown.kind, ImportKind::None);
  EXPECT_EQ(groupUnknown.messages, Cells{"The following input column is not supported:\nMembers"});
}

}  // namespace
}  // namespace transfer
