// Paging by preferred length: every entry visited exactly once, "more data"
// while entries remain, entries read against total entries.

#include <gtest/gtest.h>

#include <set>

#include "../support/lab_fixture.h"
#include "platform/netsize.h"

using namespace platform;
using lab::test::LabFixture;

namespace {

std::shared_ptr<lab::Lab> mediumLab() {
  lab::GeneratorOptions o;
  o.users = 237;
  o.groups = 31;
  o.localGroups = 3;
  o.servers = 4;
  o.membersPerGroup = 40;
  return lab::generateLab(o);
}

TEST(NetSize, StringsCountAsUtf16WithTerminator) {
  EXPECT_EQ(netStringSize(""), 2u);
  EXPECT_EQ(netStringSize("abc"), 8u);
  EXPECT_EQ(netStringSize("\xC3\xA4"), 4u);          // one BMP character
  EXPECT_EQ(netStringSize("\xF0\x9F\x98\x80"), 6u);  // a surrogate pair
  EXPECT_EQ(netEntrySize(USER_INFO_0{"abc"}), 4u + 8u);
}

class UserEnumPaging : public ::testing::TestWithParam<std::pair<DWORD, DWORD>> {};

TEST_P(UserEnumPaging, ResumeHandleVisitsEveryAccountOnce) {
  LabFixture lab(mediumLab());
  const auto [level, prefmax] = GetParam();
  std::set<std::string> seen;
  DWORD resume = 0;
  DWORD status = ERROR_MORE_DATA;
  int calls = 0;
  while (status == ERROR_MORE_DATA) {
    NetBuffer buf;
    DWORD read = 0, total = 0;
    const DWORD before = resume;
    status = NetUserEnum("\\\\GENPDC", level, FILTER_NORMAL_ACCOUNT, buf, prefmax, &read, &total, &resume);
    ASSERT_TRUE(status == NERR_Success || status == ERROR_MORE_DATA) << status;
    ASSERT_GE(read, 1u) << "at least one entry while any remain";
    EXPECT_EQ(total, 238u - before) << "total counts from the resume position";
    if (level == 0) {
      DWORD size = 0;
      for (const auto& u : buf.get<USER_INFO_0>()) {
        EXPECT_TRUE(seen.insert(u.usri0_name).second) << u.usri0_name;
        size += netEntrySize(u);
      }
      if (read > 1) {
        EXPECT_LE(size, prefmax);
      }
    } else {
      for (const auto& u : buf.get<USER_INFO_3>()) EXPECT_TRUE(seen.insert(u.usri3_name).second);
    }
    EXPECT_EQ(status == ERROR_MORE_DATA, resume != 0);
    ++calls;
  }
  EXPECT_EQ(seen.size(), 238u);  // 237 users and the Administrator
  if (prefmax != MAX_PREFERRED_LENGTH) {
    EXPECT_GT(calls, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Lab, UserEnumPaging,
                         ::testing::Values(std::pair<DWORD, DWORD>{0, 1}, std::pair<DWORD, DWORD>{0, 100},
                                           std::pair<DWORD, DWORD>{3, 1000},
                                           std::pair<DWORD, DWORD>{3, MAX_PREFERRED_LENGTH}));

TEST(DisplayPaging, NextIndexesWalkSortedNamesOnce) {
  LabFixture lab(mediumLab());
  struct Row { DWORD requested, prefmax; };
  for (const Row r : {Row{10, MAX_PREFERRED_LENGTH}, Row{10000, 300}, Row{1, 1}}) {
    std::vector<std::string> names;
    DWORD index = 0;
    DWORD status = ERROR_MORE_DATA;
    while (status == ERROR_MORE_DATA) {
      NetBuffer buf;
      DWORD returned = 0;
      status = NetQueryDisplayInformation("\\\\GENPDC", 1, index, r.requested, r.prefmax, &returned, buf);
      ASSERT_TRUE(status == NERR_Success || status == ERROR_MORE_DATA);
      const auto page = buf.get<NET_DISPLAY_USER>();
      ASSERT_EQ(page.size(), returned);
      ASSERT_GE(returned, 1u);
      ASSERT_LE(returned, r.requested);
      for (const auto& u : page) names.push_back(u.usri1_name);
      index = page.back().usri1_next_index;
    }
    ASSERT_EQ(names.size(), 238u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
  }
  // Groups pages carry their next index too.
  NetBuffer buf;
  DWORD returned = 0;
  ASSERT_EQ(NetQueryDisplayInformation("\\\\GENPDC", 3, 0, 5, MAX_PREFERRED_LENGTH, &returned, buf), ERROR_MORE_DATA);
  EXPECT_EQ(buf.get<NET_DISPLAY_GROUP>().back().grpi3_next_index, 5u);
  EXPECT_EQ(NetQueryDisplayInformation("\\\\GENPDC", 4, 0, 5, MAX_PREFERRED_LENGTH, &returned, buf), ERROR_INVALID_LEVEL);
}

TEST(MemberPaging, GroupAndLocalGroupMembersResume) {
  LabFixture lab(mediumLab());
  DWORD resume = 0, read = 0, total = 0;
  std::size_t seen = 0;
  DWORD status = ERROR_MORE_DATA;
  while (status == ERROR_MORE_DATA) {
    NetBuffer buf;
    status = NetGroupGetUsers("\\\\GENPDC", "Domain Users", 0, buf, 50, &read, &total, &resume);
    seen += read;
  }
  EXPECT_EQ(status, NERR_Success);
  EXPECT_EQ(seen, 238u);
  NetBuffer buf;
  resume = 0;
  ASSERT_EQ(NetLocalGroupGetMembers("\\\\GENPDC", "Administrators", 3, buf, 1, &read, &total, &resume), ERROR_MORE_DATA);
  EXPECT_EQ(read, 1u);
  EXPECT_EQ(total, 2u);
  ASSERT_EQ(NetLocalGroupGetMembers("\\\\GENPDC", "Administrators", 3, buf, 1, &read, &total, &resume), NERR_Success);
  EXPECT_EQ(resume, 0u);
}

}  // namespace
