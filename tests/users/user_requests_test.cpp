// Copy and Delete on the Users display in the window over the lab: the
// accounts and memberships the lab holds afterwards, the questions asked,
// the reports, and the list showing the change without a browse by hand.

#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>

#include "../app/app_test_support.h"
#include "session/display_traits.h"
#include "../support/lab_fixture.h"
#include "platform/eventlog.h"
#include "platform/lab/password_hash.h"
#include "platform/netapi.h"
#include "platform/security.h"
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
  // The full name is asked for, not taken over: left empty, the copy has none.
  EXPECT_EQ(copy->usri3_full_name, "");
  EXPECT_EQ(copy->usri3_comment, "Administers the domain");
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

// A copy given a password is a live account of its own: its name, full
// name, password and "must change" as typed, home and profile renamed, and
// everything else as the source has it; a confirmation that differs keeps
// the prompt open with what was typed.
TEST_F(UserRequests, CopyWithAPasswordIsALiveAccountOfItsOwnWithTheRestCopied) {
  m_window->settings().e_logging_onoff = 1;
  USER_INFO_3 bob = *account("bob");  // disabled
  bob.usri3_profile = "\\\\LABFS\\profiles\\%USERNAME%";
  bob.usri3_home_dir = "\\\\LABFS\\users\\BOB";
  bob.usri3_home_dir_drive = "H:";
  bob.usri3_script_path = "stores.cmd";
  bob.usri3_workstations = "WS1,WS2";
  bob.usri3_acct_expires = 1893456000;  // 2030-01-01
  bob.usri3_logon_hours.assign(21, 0x0F);
  bob.usri3_logon_hours[20] = 0;
  bob.usri3_password.clear();
  ASSERT_EQ(NetUserSetInfo("\\\\PDC", "bob", 3, bob, nullptr), NERR_Success);
  SID sid;
  std::string domain;
  SID_NAME_USE use{};
  ASSERT_EQ(LookupAccountName("\\\\PDC", "bob", &sid, &domain, &use), ERROR_SUCCESS);
  ASSERT_EQ(NetLocalGroupAddMember("\\\\PDC", "Administrators", sid), NERR_Success);
  bob = *account("bob");

  select({"bob"});
  m_dialogs->queueStep([](QDialog& d) {
    auto& prompt = dynamic_cast<users::CEnterName&>(d);
    EXPECT_FALSE(prompt.mustChangeBox()->isChecked()) << "as the source's";
    prompt.nameEdit()->setText("carol");
    prompt.fullNameEdit()->setText("Carol Cooper");
    prompt.passwordEdit()->setText("Carol!Passw0rd");
    prompt.confirmationEdit()->setText("Carol!Passw0rd2");
    prompt.mustChangeBox()->setChecked(true);
    prompt.accept();
    EXPECT_NE(prompt.result(), QDialog::Accepted);
    EXPECT_FALSE(account("carol"));
    EXPECT_EQ(prompt.nameEdit()->text(), "carol");
    EXPECT_EQ(prompt.fullNameEdit()->text(), "Carol Cooper");
    EXPECT_EQ(prompt.passwordEdit()->text(), "Carol!Passw0rd");
    EXPECT_TRUE(prompt.mustChangeBox()->isChecked());
    prompt.confirmationEdit()->setText("Carol!Passw0rd");
    prompt.accept();
    return prompt.result();
  });
  run(kIdCopy);
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"The PASSWORDS entered do not match. Please "
                                                   "ensure that the password is identical in "
                                                   "both entry fields."});

  const auto copy = account("carol");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->usri3_full_name, "Carol Cooper");
  EXPECT_EQ(copy->usri3_comment, bob.usri3_comment);
  EXPECT_EQ(copy->usri3_flags, bob.usri3_flags & ~UF_ACCOUNTDISABLE);
  EXPECT_EQ(copy->usri3_password_expired, 1u);
  EXPECT_EQ(copy->usri3_profile, "\\\\LABFS\\profiles\\carol");
  EXPECT_EQ(copy->usri3_home_dir, "\\\\LABFS\\users\\carol");
  EXPECT_EQ(copy->usri3_home_dir_drive, "H:");
  EXPECT_EQ(copy->usri3_script_path, "stores.cmd");
  EXPECT_EQ(copy->usri3_workstations, "WS1,WS2");
  EXPECT_EQ(copy->usri3_acct_expires, 1893456000u);
  EXPECT_EQ(copy->usri3_logon_hours, bob.usri3_logon_hours);
  const std::string stored =
      lab::test::storedUser(*m_lab, "carol").value("passwordHash", std::string());
  EXPECT_TRUE(lab::passwordMatches(stored, "Carol!Passw0rd"));
  EXPECT_TRUE(contains(groupsOf("carol"), "Staff"));
  EXPECT_TRUE(contains(localMembers("Administrators"), "LAB\\carol"));
  EXPECT_TRUE(account("bob")->usri3_flags & UF_ACCOUNTDISABLE) << "the source stays as it was";
  EXPECT_EQ(listed(), (std::vector<std::string>{"Administrator", "alice", "bob", "carol"}));
  EXPECT_EQ(localEvents().back(), "User Added:   carol");
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
