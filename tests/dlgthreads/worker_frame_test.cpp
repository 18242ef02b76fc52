#include "dlgthreads/worker_frame.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "dlgthreads/worker_thread.h"
#include "test_host.h"

namespace dlgthreads {
namespace {

using namespace std::chrono_literals;
using testing::makeBlock;
using testing::TestHost;

TEST(WorkerFrame, OnlyTheOutermostLevelHandsOver) {
  auto host = std::make_shared<TestHost>();
  auto block = makeBlock(WorkKind::Files, host, "\\\\PDC");
  ResetWork(WorkKind::Files);
  BeginWork(*block);
  BeginWork(*block);
  EXPECT_EQ(busyCounters().value(WorkKind::Files), 2);
  EXPECT_FALSE(FinishWork(block));
  EXPECT_TRUE(host->finished().empty());
  EXPECT_TRUE(FinishWork(block));
  EXPECT_EQ(busyCounters().value(WorkKind::Files), 0);
  ASSERT_EQ(host->finished().size(), 1u);
  EXPECT_EQ(host->finished()[0], block);
  host->forgetFinished();
}

TEST(WorkerFrame, CancelledBlockIsNotHandedOverAndLeavesTheCounter) {
  auto host = std::make_shared<TestHost>();
  auto stale = makeBlock(WorkKind::Network, host, "");
  ResetWork(WorkKind::Network);
  BeginWork(*stale);
  stale->requestCancel();
  // A new browse of the same kind starts while the stopped one unwinds.
  ResetWork(WorkKind::Network);
  auto fresh = makeBlock(WorkKind::Network, host, "");
  BeginWork(*fresh);
  EXPECT_TRUE(FinishWork(stale));
  EXPECT_EQ(busyCounters().value(WorkKind::Network), 1);
  EXPECT_TRUE(host->finished().empty());
  EXPECT_TRUE(FinishWork(fresh));
  ASSERT_EQ(host->finished().size(), 1u);
  EXPECT_EQ(host->finished()[0], fresh);
  host->forgetFinished();
}

TEST(WorkerFrame, StatusAndMessagesGoToTheHost) {
  auto host = std::make_shared<TestHost>();
  auto block = makeBlock(WorkKind::Users, host, "");
  SetStatusText(*block, "Group 1.");
  showWorkerMessage(*block, "text", "caption", ui::Icon::Error);
  EXPECT_EQ(host->statusTexts(), std::vector<std::string>{"Group 1."});
  ASSERT_EQ(host->scripted().shown().size(), 1u);
  EXPECT_EQ(host->scripted().shown()[0].caption, "caption");
  EXPECT_EQ(host->scripted().shown()[0].icon, ui::Icon::Error);
}

TEST(WorkerThread, PriorityMapping) {
  EXPECT_EQ(niceDeltaForPriority(0), 10);
  EXPECT_EQ(niceDeltaForPriority(1), 5);
  EXPECT_EQ(niceDeltaForPriority(2), 0);
  EXPECT_EQ(niceDeltaForPriority(3), -5);
  EXPECT_EQ(niceDeltaForPriority(4), -10);
  EXPECT_EQ(niceDeltaForPriority(7), 0);  // out of range acts as normal
}

TEST(WorkerThread, LoweringPriorityAlwaysWorks) {
  auto host = std::make_shared<TestHost>();
  WorkerThread thread;
  const auto result = thread.start(
      makeBlock(WorkKind::Users, host, ""),
      [](std::shared_ptr<WorkerBlock> b) {
        BeginWork(*b);
        FinishWork(b);
      },
      0);
  EXPECT_TRUE(result.started);
  EXPECT_TRUE(result.priorityOk);
  EXPECT_TRUE(thread.waitFor(5s));
  EXPECT_EQ(host->finished().size(), 1u);
  host->forgetFinished();
}

TEST(WorkerThread, StopLetsTheWorkerLeaveWithoutHandOver) {
  auto host = std::make_shared<TestHost>();
  std::atomic<bool> sawCancel{false};
  WorkerThread thread;
  thread.start(makeBlock(WorkKind::Groups, host, ""), [&](std::shared_ptr<WorkerBlock> b) {
    BeginWork(*b);
    while (!b->cancelled()) std::this_thread::sleep_for(1ms);
    sawCancel = true;
    FinishWork(b);
  });
  EXPECT_TRUE(thread.running());
  thread.stop();
  EXPECT_TRUE(thread.waitFor(5s));
  EXPECT_FALSE(thread.running());
  EXPECT_TRUE(sawCancel);
  EXPECT_TRUE(host->finished().empty());
}

TEST(WorkerThread, DestructionDetachesABlockedWorkerAndKeepsItsBlockAlive) {
  auto host = std::make_shared<TestHost>();
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<long> useCountInside;
  std::weak_ptr<WorkerBlock> watch;
  {
    WorkerThread thread;
    thread.setGracePeriod(20ms);
    auto block = makeBlock(WorkKind::Users, host, "");
    watch = block;
    thread.start(std::move(block), [&, released](std::shared_ptr<WorkerBlock> b) {
      released.wait();  // blocked "in a platform call"
      b->users.allocate(2);
      b->users.finish();
      useCountInside.set_value(b.use_count());
    });
  }  // detaches: the worker is still blocked
  EXPECT_FALSE(watch.expired());
  auto used = useCountInside.get_future();
  release.set_value();
  EXPECT_GE(used.get(), 1);
  for (int i = 0; i < 500 && !watch.expired(); ++i) std::this_thread::sleep_for(2ms);
  EXPECT_TRUE(watch.expired());
  EXPECT_TRUE(host->finished().empty());
}

}  // namespace
}  // namespace dlgthreads
