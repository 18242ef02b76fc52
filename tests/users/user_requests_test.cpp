// Copy and Delete on the Users display in the window over the lab: the
// accounts and memberships the lab holds afterwards, the questions asked,
// the reports, and the list showing the change without a browse by hand.

#include <QLineEdit>
#include <QTableView>
#include <algorithm>

#include "../app/app_test_support.h"
#include "session/display_traits.h"
#include "../support/lab_fixture.h"
#include "platform/eventlog.h"
#include "platform/lab/password_hash.h"
#include "platform/netapi.h"
#include "users/delete_members_dialog.h"
#include "users/enter_name_dialog.h"
#include "../support/lab_readback.h"
#include "window/command_ids.h"

namespace {

using test_support::account;
using test_support::localMembers;
using apptest::waitUntil;
using display::DisplayType;
using namespace platform;
using namespace window;

std::vector<std::string> groupsOf(std::string_view user) {
  NetBuffer buffer;
  DWORD read = 0, total = 0;
  EXPECT_EQ(NetUserGetGroups("\\\\PDC", user, 0, buffer, 0xFFFFFFFF, &read, &total),
            NERR_Success);
  std::vector<std::string> names;
  for (const auto& g : buffer.get<GROUP_USERS_INFO_0>()) names.push_back(g.grui0_name);
  return names;
}

bool contains(const std::vector<std::string>& names, std::string_view name) {
  return std::ranges::find(names, name) != names.end();
}

std::vector<std::string> localEvents() {
  std::vector<EventRecord> records;
  EXPECT_EQ(ReadEventLog("", &records), 0u);
  std::vector<std::string> texts;
  for (const auto& r : records)
    if (!r.strings.empty()) texts.push_back(r.strings.front());
  return texts;
}

class UserRequests : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(makeWindow());
    m_window->selectTab(display::traitsOf(DisplayType::Users).tab);
    m_window->browse();
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
    m_view = qobject_cast<QTableView*>(m_window->resultControl(kCtlUsersList));
    ASSERT_NE(m_view, nullptr);
  }
  std::vector<std::string> listed() const {
    std::vector<std::string> names;
    for (int r = 0; r < m_view->model()->rowCount(); ++r)
      names.push_back(m_view->model()->index(r, 0).data().toString().toStdString());
    std::sort(names.begin(), names.end());
    return names;
  }
  void select(std::initializer_list<const char*> names) {
    m_view->clearSelection();
    for (const char* name : names)
      for (int r = 0; r < m_view->model()->rowCount(); ++r)
        if (m_view->model()->index(r, 0).data().toString() == QString::fromUtf8(name))
          m_view->selectionModel()->select(m_view->model()->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  void run(int id) {
    m_window->command(id);
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  }
  void typeName(const char* name) {
    m_dialogs->queueStep([name](QDialog& d) {
      auto& prompt = dynamic_cast<users::CEnterName&>(d);
      prompt.nameEdit()->setText(QString::fromUtf8(name));
      return static_cast<int>(QDialog::Accepted);
    });
  }

  QTableView* m_view = nullptr;
};

TEST_F(UserRequests, CopyIsADisabledAccountWithTheSourcesMembershipsAndIsListed) {
  m_window->settings().e_logging_onoff = 1;
  // A length policy must not stop the copy (it never had a password to give).
  NetBuffer modals;
  ASSERT_EQ(NetUserModalsGet("\\\\PDC", 0, modals), NERR_Success);
  USER_MODALS_INFO_0 policy = modals.get<USER_MODALS_INFO_0>().front();
  policy.usrmod0_min_passwd_len = 12;
  ASSERT_EQ(NetUserModalsSet("\\\\PDC", 0, policy, nullptr), NERR_Success);
  // "Password not required", set on the source on purpose, is copied too.
  ASSERT_EQ(NetUserSetInfo("\\\\PDC", "Administrator", 1008,
                           USER_INFO_1008{account("Administrator")->usri3_flags | UF_PASSWD_NOTREQD},
                           nullptr),
            NERR_Success);
  select({"Administrator"});
  typeName("Deputy");
  run(kIdCopy);
  ASSERT_EQ(m_dialogs->shown().size(), 1u);
  EXPECT_EQ(m_dialogs->shown()[0].title, "Enter new name");
  EXPECT_TRUE(m_messages->shown().empty()) << shownTexts().front();

  const auto copy = account("Deputy");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->usri3_full_name, "Built-in administrator");
  EXPECT_TRUE(copy->usri3_flags & UF_ACCOUNTDISABLE);
  EXPECT_FALSE(copy->usri3_flags & UF_LOCKOUT);
  EXPECT_TRUE(copy->usri3_flags & UF_PASSWD_NOTREQD);
  // Its password is one nobody knows: the mark, which no password matches.
  const std::string stored =
      lab::test::storedUser(*m_lab, "Deputy").value("passwordHash", std::string());
  EXPECT_EQ(stored, "*");
  EXPECT_FALSE(lab::passwordMatches(stored, ""));
  EXPECT_TRUE(contains(groupsOf("Deputy"), "Domain Admins"));
  EXPECT_TRUE(contains(localMembers("Administrators"), "LAB\\Deputy"));
  EXPECT_EQ(listed(), (std::vector<std::string>{"Administrator", "Deputy", "alice", "bob"}));
  EXPECT_EQ(localEvents().back(), "User Added:   Deputy");

  // A name that exists: the number, and nothing else changes.
  select({"alice"});
  typeName("bob");
  run(kIdCopy);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text, "Error number = 2224: The user account exists already.");
  EXPECT_EQ(m_messages->shown()[0].caption, "Error creating user.");
  EXPECT_TRUE(account("bob")->usri3_flags & UF_ACCOUNTDISABLE);

  // Two rows: refused before any prompt.
  m_messages->clear();
  select({"alice", "bob"});
  run(kIdCopy);
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"It is not possible to copy when more than "
                                                   "one\nitem has been selected."});
  EXPECT_EQ(m_dialogs->shown().size(), 2u);
}

TEST_F(UserRequests, DeleteAllGoesOnPastAFailureAndTheListShowsWhatIsLeft) {
  m_window->settings().e_logging_onoff = 1;
  USER_INFO_1 carol;
  carol.usri1_name = "carol";
  ASSERT_EQ(NetUserAdd("\\\\PDC", 1, carol, nullptr), NERR_Success);
  m_window->browse();
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  // Gone behind the list's back: its deletion fails.
  ASSERT_EQ(NetUserDel("\\\\PDC", "bob"), NERR_Success);

  select({"alice", "bob", "carol"});
  m_dialogs->queueStep([](QDialog& d) {
    dynamic_cast<users::CDeleteMembers&>(d).deleteAll();
    return d.result();
  });
  run(kIdDelete);
  EXPECT_EQ(m_dialogs->shown()[0].title, "Delete multiple members");
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text,
            "An error occurred while processing the last user request.\nThe user name could not be "
            "found.");
  EXPECT_EQ(m_messages->shown()[0].caption, "Veltrane");
  EXPECT_FALSE(account("alice"));
  EXPECT_FALSE(account("carol"));
  EXPECT_EQ(listed(), std::vector<std::string>{"Administrator"});
  const auto events = localEvents();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2], "User Deleted:   alice");
  EXPECT_EQ(events.back(), "User Deleted:   carol");
}

TEST_F(UserRequests, OneAtATimeAsksForEachAndNoKeepsTheAccount) {
  select({"alice", "bob"});
  m_dialogs->queueStep([](QDialog& d) {
    dynamic_cast<users::CDeleteMembers&>(d).oneAtATime();
    return d.result();
  });
  m_messages->queueAnswer(ui::Answer::No);
  m_messages->queueAnswer(ui::Answer::Yes);
  run(kIdDelete);
  ASSERT_EQ(m_messages->shown().size(), 2u);
  EXPECT_EQ(m_messages->shown()[0].caption, "Deleting USER: alice");
  EXPECT_EQ(m_messages->shown()[1].caption, "Deleting USER: bob");
  EXPECT_EQ(m_messages->shown()[0].defaultAnswer, ui::Answer::No);
  EXPECT_TRUE(account("alice"));
  EXPECT_FALSE(account("bob"));
  EXPECT_EQ(listed(), (std::vector<std::string>{"Administrator", "alice"}));

  // One row: no multiple-delete dialog, one question; Cancel on the
  // dialog deletes nothing.
  m_messages->clear();
  select({"alice"});
  run(kIdDelete);
  EXPECT_EQ(m_dialogs->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown().size(), 1u);
  EXPECT_TRUE(account("alice"));
}

}  // namespace
