// The account indexes kept up to date change by change answer exactly what
// indexes built from scratch answer, through a long random run of additions,
// deletions, renames and account-type changes: a browse after any change
// lists the right accounts in the right order.

#include <gtest/gtest.h>

#include <random>

#include "platform/lab/model.h"

namespace {

using lab::Sam;

// Everything the indexes answer, in a comparable form.
struct Answers {
  std::vector<std::string> byNameUsers, byNameGroups, byNameLocals;
  std::vector<std::pair<platform::DWORD, std::string>> byRid;
  std::vector<std::string> normalSorted, machineSorted, groupsSorted, normalInOrder;
  friend bool operator==(const Answers&, const Answers&) = default;
};

Answers answersOf(const Sam& sam) {
  Answers a;
  for (const auto& u : sam.users) {
    const auto* found = sam.findUser(lab::upper(u.name));
    a.byNameUsers.push_back(found ? found->name : "?");
    const auto* byRid = sam.userByRidOrNull(u.rid);
    a.byRid.emplace_back(u.rid, byRid ? byRid->name : "?");
  }
  for (const auto& g : sam.groups) {
    const auto* found = sam.findGroup(g.name);
    a.byNameGroups.push_back(found ? found->name : "?");
    const auto* byRid = sam.groupByRidOrNull(g.rid);
    a.byRid.emplace_back(g.rid, byRid ? byRid->name : "?");
  }
  for (const auto& g : sam.localGroups) {
    const auto* found = sam.findLocalGroup(g.name);
    a.byNameLocals.push_back(found ? found->name : "?");
  }
  for (auto i : sam.normalUsersSorted) a.normalSorted.push_back(sam.users.at(i).name);
  for (auto i : sam.machineUsersSorted) a.machineSorted.push_back(sam.users.at(i).name);
  for (auto i : sam.groupsSorted) a.groupsSorted.push_back(sam.groups.at(i).name);
  for (auto i : sam.normalUsersInOrder) a.normalInOrder.push_back(sam.users.at(i).name);
  return a;
}

TEST(SamIndexes, KeptPerChangeTheyAnswerAsIndexesBuiltFromScratch) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  auto name = [&](const char* prefix) {
    // Mixed case, so that order and look-up must ignore case.
    std::string n = prefix + std::to_string(random() % 100000);
    if (random() % 2) n[0] = static_cast<char>(n[0] - 'a' + 'A');
    return n;
  };

  Sam sam;
  sam.reindex();
  for (int step = 0; step < 3000; ++step) {
    switch (random() % 8) {
      case 0:
      case 1:
      case 2: {
        lab::User u;
        u.name = name("user");
        if (sam.nameTaken(u.name)) break;
        u.rid = sam.allocateRid();
        if (random() % 5 == 0) u.info.usri3_flags = platform::UF_WORKSTATION_TRUST_ACCOUNT;
        sam.addUser(std::move(u));
        break;
      }
      case 3:
        if (!sam.users.empty()) sam.removeUser(sam.users[pick(sam.users.size())].rid);
        break;
      case 4:
        if (!sam.users.empty()) {
          // An account's type changes the lists it shows in.
          const std::size_t i = pick(sam.users.size());
          const std::string old = sam.users[i].name;
          sam.users[i].info.usri3_flags ^= platform::UF_NORMAL_ACCOUNT | platform::UF_SERVER_TRUST_ACCOUNT;
          sam.userChanged(i, old);
        }
        break;
      case 5: {
        lab::Group g;
        g.name = name("group");
        if (sam.nameTaken(g.name)) break;
        g.rid = sam.allocateRid();
        sam.addGroup(std::move(g));
        break;
      }
      case 6:
        if (!sam.groups.empty()) {
          const std::size_t i = pick(sam.groups.size());
          if (random() % 2) {
            const std::string renamed = name("renamed");
            if (!sam.nameTaken(renamed)) sam.renameGroup(i, renamed);
          } else {
            sam.removeGroup(sam.groups[i].rid);
          }
        }
        break;
      default:
        if (random() % 2 || sam.localGroups.empty()) {
          lab::LocalGroup g;
          g.name = name("local");
          if (sam.nameTaken(g.name)) break;
          g.rid = sam.allocateRid();
          sam.addLocalGroup(std::move(g));
        } else {
          const std::size_t i = pick(sam.localGroups.size());
          const std::string renamed = name("alias");
          if (random() % 2 && !sam.nameTaken(renamed)) sam.renameLocalGroup(i, renamed);
          else sam.removeLocalGroup(sam.localGroups[i].rid);
        }
        break;
    }
    if (step % 100 == 0 || step == 2999) {
      Sam rebuilt = sam;
      rebuilt.reindex();
      ASSERT_EQ(answersOf(sam), answersOf(rebuilt)) << "after step " << step;
      ASSERT_EQ(sam.userByName.size(), sam.users.size());
    }
  }
  EXPECT_GT(sam.users.size(), 100u);
}

}  // namespace
