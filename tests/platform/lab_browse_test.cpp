// Browse lists of the lab: a machine's own list, stale entries, the cap on
// one enumeration, and how such labs are checked and written back.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/lab_fixture.h"
#include "platform/netapi.h"

using namespace platform;

namespace {

std::vector<std::string> names(const NetBuffer& buf) {
  std::vector<std::string> out;
  for (const auto& s : buf.get<SERVER_INFO_101>()) out.push_back(s.sv101_name);
  return out;
}

TEST(LabBrowse, OwnListKeepsItsOrderAndEntryFigures) {
  lab::test::LabFixture lab("servers-domain");
  ASSERT_TRUE(lab) << lab.error();
  NetBuffer buf;
  DWORD read = 0, total = 0;
  ASSERT_EQ(NetServerEnum("\\\\OUTPOST", 101, buf, MAX_PREFERRED_LENGTH, &read, &total,
                          SV_TYPE_ALL, {}, nullptr),
            NERR_Success);
  EXPECT_EQ(names(buf), (std::vector<std::string>{"PDC", "GHOST"}));
  const auto entries = buf.get<SERVER_INFO_101>();
  // The entry keeps the major version exactly as listed, high bits and all.
  EXPECT_EQ(entries[1].sv101_version_major, 0x14u);
  EXPECT_EQ(entries[1].sv101_comment, "Gone but still listed");
  EXPECT_EQ(entries[0].sv101_comment, "Primary domain controller");
  // The type filter applies to an own list too.
  ASSERT_EQ(NetServerEnum("\\\\OUTPOST", 101, buf, MAX_PREFERRED_LENGTH, &read, &total,
                          SV_TYPE_SERVER_VMS, {}, nullptr),
            NERR_Success);
  EXPECT_EQ(names(buf), (std::vector<std::string>{"GHOST"}));
}

TEST(LabBrowse, CappedBrowserAnswersPartOfItsListPerCall) {
  lab::test::LabFixture lab("servers-domain");
  ASSERT_TRUE(lab) << lab.error();
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0;
  EXPECT_EQ(NetServerEnum("CAPPED", 101, buf, MAX_PREFERRED_LENGTH, &read, &total, SV_TYPE_ALL,
                          {}, nullptr),
            ERROR_MORE_DATA);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(total, 10u);
  // With a resume handle the rest comes two at a time.
  std::vector<std::string> all;
  for (int call = 0; call < 10; ++call) {
    const DWORD st = NetServerEnum("CAPPED", 100, buf, MAX_PREFERRED_LENGTH, &read, &total,
                                   SV_TYPE_ALL, {}, &resume);
    for (const auto& s : buf.get<SERVER_INFO_100>()) all.push_back(s.sv100_name);
    if (st == NERR_Success) break;
    ASSERT_EQ(st, ERROR_MORE_DATA);
  }
  EXPECT_EQ(all.size(), 10u);
  EXPECT_EQ(resume, 0u);
}

TEST(LabBrowse, WrittenBackAndChecked) {
  lab::test::LabFixture lab("servers-domain");
  ASSERT_TRUE(lab) << lab.error();
  std::string error;
  auto again = lab::labFromJson(lab->toJson(), "round trip", &error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(again->toJson(), lab->toJson());

  struct Bad {
    const char* browses;
    const char* problem;
  };
  const Bad bad[] = {
      {R"(["NOBODY"])", "no machine \"NOBODY\""},
      {R"(["PDC", "pdc"])", "listed twice"},
      {R"([{"name": "BAD NAME"}])", "invalid computer name"},
      {R"([{"name": "X", "colour": 1}])", "unknown field"},
  };
  for (const Bad& b : bad) {
    const std::string json = std::string(R"({"format": 1, "localMachine": "W", "loggedOn": "D\\a",
      "domains": [{"name": "D", "sid": "S-1-5-21-1-2-3", "pdc": "W", "users": [{"name": "a"}]}],
      "machines": [{"name": "PDC", "domain": "D"}, {"name": "W", "domain": "D", "browses": )") +
                             b.browses + "}]}";
    EXPECT_EQ(lab::labFromJson(json, "bad", &error), nullptr) << b.browses;
    EXPECT_NE(error.find(b.problem), std::string::npos) << error;
    EXPECT_NE(error.find("/machines/1/browses"), std::string::npos) << error;
  }
}

}  // namespace
