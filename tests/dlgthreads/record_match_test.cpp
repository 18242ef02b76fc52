// Find and filter match a record's columns as the lists number and show
// them; only A to Z fold without "match case"; a dropped record never
// matches.

#include "dlgthreads/record_match.h"

#include <gtest/gtest.h>

namespace dlgthreads {
namespace {

ServerRecord controller() {
  ServerRecord r;
  r.tag = 1;
  r.name = "PDC";
  r.comment = "Primary domain controller";
  r.typeFlags[3] = 1;  // domain controller: list column 5
  r.build = "1381";
  r.version = "4.0";
  return r;
}

struct Row {
  MatchOptions options;
  bool matches;
};

class ServerMatch : public ::testing::TestWithParam<Row> {};

TEST_P(ServerMatch, ColumnsAsTheListShowsThem) {
  EXPECT_EQ(RecordMatcher(GetParam().options).matches(controller()), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ServerMatch,
    ::testing::Values(Row{{"x", true, false, 5}, true},   // DC flag shows "X"
                      Row{{"X", true, false, 6}, false},  // not a backup DC
                      Row{{"-", true, false, 6}, true},
                      Row{{"1", false, false, 5}, false},   // not the stored 1
                      Row{{"4.0", true, false, 24}, true},  // Version before Build
                      Row{{"1381", true, false, 25}, true},
                      Row{{"primary", false, false, -1}, true},
                      Row{{"primary", false, true, -1}, false},
                      Row{{"", true, false, 26}, true}));  // empty service pack

TEST(RecordMatch, OnlyTheLettersAToZFold) {
  UserRecord user;
  user.tag = 1;
  user.name = "\xC3\xA9mile";  // é
  user.fullName = "Emile Zola";
  EXPECT_TRUE(RecordMatcher({.text = "zola"}).matches(user));
  EXPECT_FALSE(RecordMatcher({.text = "\xC3\x89MILE", .column = 0}).matches(user));  // É
  EXPECT_TRUE(RecordMatcher({.text = "\xC3\xA9MILE", .column = 0}).matches(user));

  user.tag = 0;  // dropped by the last filter
  EXPECT_FALSE(RecordMatcher({.text = "zola"}).matches(user));
}

}  // namespace
}  // namespace dlgthreads
