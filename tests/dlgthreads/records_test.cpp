#include "dlgthreads/records.h"

#include <gtest/gtest.h>

#include "dlgthreads/record_holder.h"

namespace dlgthreads {
namespace {

TEST(RecordHolder, EmptyDisplayStillGetsEndRecordAtZero) {
  RecordHolder<UserRecord> holder;
  ASSERT_TRUE(holder.allocate(10));
  holder.finish();
  EXPECT_EQ(holder.count(), 0);
  ASSERT_EQ(holder.withEnd().size(), 1u);
  EXPECT_EQ(holder.withEnd()[0].name, "END_OF_DATA");
}

TEST(RecordHolder, CapacityAlwaysLeavesRoomForTheEndRecord) {
  RecordHolder<GroupRecord> holder;
  ASSERT_TRUE(holder.allocate(3));
  EXPECT_NE(holder.append(), nullptr);
  EXPECT_NE(holder.append(), nullptr);
  EXPECT_EQ(holder.append(), nullptr);  // the third slot is the end record's
  holder.finish();
  EXPECT_EQ(holder.count(), 2);
  EXPECT_EQ(holder.withEnd().size(), 3u);
  EXPECT_EQ(holder.withEnd().back().name, "END_OF_DATA");
}

TEST(RecordHolder, FinishAtCountDropsRecordsBeyondIt) {
  RecordHolder<UserRecord> holder;
  ASSERT_TRUE(holder.allocate(20));
  holder.resize(8);
  holder[2].name = "kept";
  holder.finish(5);
  EXPECT_EQ(holder.count(), 5);
  EXPECT_EQ(holder.records()[2].name, "kept");
  EXPECT_EQ(holder.withEnd()[5].name, "END_OF_DATA");
}

TEST(RecordHolder, AllocationLimitFailsCleanly) {
  RecordHolder<GroupRecord> holder;
  holder.setAllocationLimit(100);
  EXPECT_TRUE(holder.allocate(100));
  EXPECT_FALSE(holder.allocate(101));
  EXPECT_FALSE(holder.hasArray());
  EXPECT_EQ(holder.append(), nullptr);
  holder.finish();  // without an array: no end record, count 0
  EXPECT_EQ(holder.count(), 0);
  EXPECT_TRUE(holder.withEnd().empty());
}

TEST(Records, UserWordsByIndex) {
  UserRecord r;
  for (int w = 1; w < UserRecord::kWords; ++w) {
    if (std::string* f = r.field(w)) f->assign("w").append(std::to_string(w));
  }
  r.loggedOnFlag = 1;
  EXPECT_EQ(r.text(1), "w1");
  EXPECT_EQ(r.name, "w1");
  EXPECT_EQ(r.lastLogon, "w4");
  EXPECT_EQ(r.loggedOn, "w18");
  EXPECT_EQ(r.text(19), "1");
  EXPECT_EQ(r.pwLastSet, "w20");
  EXPECT_EQ(r.callbackType, "w23");
  EXPECT_EQ(r.field(19), nullptr);
  EXPECT_EQ(r.text(0), "");
  EXPECT_EQ(r.text(24), "");
  EXPECT_EQ(r.text(-1), "");
  r.loggedOnFlag = 0;
  EXPECT_EQ(r.text(19), "0");
}

TEST(Records, ServerWordsByIndex) {
  ServerRecord r;
  r.name = "\\\\PDC";
  r.typeFlags[0] = 1;   // workstation, word 3
  r.typeFlags[21] = 1;  // time source, word 24
  r.build = "1381";
  r.installDate = "date";
  r.extra[4] = "x5";
  EXPECT_EQ(r.text(1), "\\\\PDC");
  EXPECT_EQ(r.text(3), "1");
  EXPECT_EQ(r.text(4), "0");
  EXPECT_EQ(r.text(24), "1");
  EXPECT_EQ(r.flag(24), 1u);
  EXPECT_EQ(r.flag(25), 0u);
  EXPECT_EQ(r.text(25), "1381");
  EXPECT_EQ(r.text(28), "date");
  EXPECT_EQ(r.text(33), "x5");
  EXPECT_EQ(r.text(34), "");
}

TEST(Records, LineAreasAreBounded) {
  LineArea<2> area;
  EXPECT_TRUE(area.append("a"));
  EXPECT_TRUE(area.append("b"));
  EXPECT_FALSE(area.append("c"));
  EXPECT_EQ(area.line(1), "b");
  EXPECT_EQ(area.line(2), "");  // the end of the lines
  EXPECT_FALSE(area.setCompanion(2, "x"));
  EXPECT_TRUE(area.setCompanion(1, "y"));
  EXPECT_EQ(area.companion(0), "");
  EXPECT_EQ(area.companion(1), "y");

  FilesArea files;
  files.at(0)->name = "a";
  files.at(1)->name = "b";
  files.at(3)->name = "after a gap";
  EXPECT_EQ(files.used(), 2u);
  EXPECT_EQ(files.at(FilesArea::kCapacity), nullptr);
  EXPECT_TRUE(files.get(1000).name.empty());
}

}  // namespace
}  // namespace dlgthreads
