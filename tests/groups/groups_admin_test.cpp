// Copy and Delete of the Groups display in the window over the window lab:
// the scripted name dialog and boxes drive them, the lab's groups and the
// local event log afterwards are the proof, and the list shows the change
// without a browse by the user.

#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "groups_window.h"
#include "../support/lab_readback.h"
#include "session/display_traits.h"
#include "platform/eventlog.h"
#include "platform/lab/lab_accounts.h"
#include "platform/lab/lab_backend.h"
#include "platform/netapi.h"
#include "users/enter_name_dialog.h"
#include "window/command_ids.h"

namespace {

using test_support::globalComment;
using test_support::globalMemberSet;
using test_support::localComment;
using test_support::localMemberSet;
using apptest::waitUntil;
using display::DisplayType;
using namespace platform;
using namespace window;

std::vector<std::string> localLog() {
  std::vector<EventRecord> records;
  EXPECT_EQ(ReadEventLog("", &records), 0u);
  std::vector<std::string> texts;
  for (const EventRecord& r : records)
    texts.push_back(std::to_string(r.eventId) + " " + (r.strings.empty() ? "" : r.strings[0]));
  return texts;
}

class GroupsWindow : public groupstest::GroupsWindowTest {
 protected:

  std::vector<std::string> names() const {
    std::vector<std::string> all;
    for (int r = 0; r < m_view->model()->rowCount(); ++r)
      all.push_back(m_view->model()->index(r, 0).data().toString().toStdString());
    return all;
  }
  bool listed(const std::string& name) const {
    const auto all = names();
    return std::find(all.begin(), all.end(), name) != all.end();
  }
  void selectOnly(std::initializer_list<std::string> groups) {
    m_view->clearSelection();
    for (const std::string& g : groups) {
      const auto all = names();
      const auto it = std::find(all.begin(), all.end(), g);
      ASSERT_NE(it, all.end()) << g;
      m_view->selectionModel()->select(
          m_view->model()->index(static_cast<int>(it - all.begin()), 0),
          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  // The name dialog: checks the prompt, types the name and presses OK.
  void nameTheCopy(std::string prompt, QString name) {
    m_dialogs->queueStep([prompt, name](QDialog& d) {
      auto& dialog = dynamic_cast<users::CEnterName&>(d);
      EXPECT_EQ(dialog.prompt().toStdString(), prompt);
      dialog.nameEdit()->setText(name);
      dialog.accept();
      return dialog.result();
    });
  }

};

TEST_F(GroupsWindow, CopyMakesGlobalAndLocalGroupsWithCommentAndMembersAndLogsThem) {
  selectOnly({"Staff"});
  nameTheCopy("Enter the name of the GLOBAL group that should become the copy of\nStaff",
              QStringLiteral("Staff Copy"));
  m_window->command(kIdCopy);
  EXPECT_TRUE(shownTexts().empty());
  EXPECT_EQ(globalComment("Staff Copy"), "Everyone on the payroll");
  EXPECT_EQ(globalMemberSet("Staff Copy"), (std::set<std::string>{"alice", "bob"}));
  waitForList();
  EXPECT_TRUE(listed("Staff Copy"));

  // A local group's members are copied by SID, a global group of the
  // domain among them.
  selectOnly({"Administrators"});
  nameTheCopy("Enter the name of the LOCAL group that should become the copy of\nAdministrators",
              QStringLiteral("Admins Copy"));
  m_window->command(kIdCopy);
  EXPECT_TRUE(shownTexts().empty());
  EXPECT_EQ(localComment("Admins Copy"), localComment("Administrators"));
  EXPECT_EQ(localMemberSet("Admins Copy"),
            (std::set<std::string>{"LAB\\Administrator", "LAB\\Domain Admins"}));
  waitForList();
  EXPECT_TRUE(listed("Admins Copy"));

  EXPECT_EQ(localLog(), (std::vector<std::string>{"59273 Global Group Added:   Staff Copy",
                                                  "59273 Local Group Added:   Admins Copy"}));
}

// Members the server refuses to put into the copy are told in one message,
// however many there are.
TEST_F(GroupsWindow, CopyGathersTheRefusedMembersIntoOneMessage) {
  class RefusingCopies final : public lab::LabAccounts {
   public:
    using LabAccounts::LabAccounts;
    DWORD NetGroupAddUser(std::string_view server, std::string_view group,
                          std::string_view user) override {
      if (group == "Staff Copy") return ERROR_ACCESS_DENIED;
      return LabAccounts::NetGroupAddUser(server, group, user);
    }
  };
  m_backend.serve(lab::makeLabBackend(m_lab, std::make_shared<RefusingCopies>(m_lab)));
  selectOnly({"Staff"});
  nameTheCopy("Enter the name of the GLOBAL group that should become the copy of\nStaff",
              QStringLiteral("Staff Copy"));
  m_window->command(kIdCopy);
  EXPECT_EQ(shownTexts(),
            (std::vector<std::string>{"Could not add user to group.\nUSER: alice\nUSER: bob"}));
  EXPECT_EQ(globalComment("Staff Copy"), "Everyone on the payroll");
}

TEST_F(GroupsWindow, CopyRefusesTwoRowsAnExistingNameAndCancel) {
  selectOnly({"Staff", "Domain Admins"});
  m_window->command(kIdCopy);
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{
                              "It is not possible to copy when more than one\nitem has been "
                              "selected."}));
  m_messages->clear();

  // The name is taken: the general report, and no member lands in the
  // group that already had that name.
  selectOnly({"Staff"});
  nameTheCopy("Enter the name of the GLOBAL group that should become the copy of\nStaff",
              QStringLiteral("Domain Admins"));
  m_window->command(kIdCopy);
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{
                              "An error occurred while processing the last user request.\n"
                              "The group exists already."}));
  EXPECT_EQ(globalMemberSet("Domain Admins"), (std::set<std::string>{"Administrator"}));

  m_messages->clear();
  m_dialogs->queueStep([](QDialog& d) {
    d.reject();
    return d.result();
  });
  m_window->command(kIdCopy);
  EXPECT_TRUE(shownTexts().empty());
  EXPECT_TRUE(localLog().empty());
}

TEST_F(GroupsWindow, DeleteAsksPerGroupDeletesGlobalBeforeLocalAndReportsFailures) {
  ASSERT_EQ(NetLocalGroupAdd("\\\\PDC", 1, LOCALGROUP_INFO_1{"Printers", "Print queue users"},
                             nullptr),
            NERR_Success);
  m_window->settings().g_show_members = 1;
  browse();
  // Staff's own row and its member rows: one question for the group.
  const auto all = names();
  ASSERT_GE(std::count(all.begin(), all.end(), "Staff"), 3);
  m_view->clearSelection();
  for (int r = 0; r < m_view->model()->rowCount(); ++r)
    if (all[static_cast<std::size_t>(r)] == "Staff")
      m_view->selectionModel()->select(m_view->model()->index(r, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
  m_messages->queueAnswer(ui::Answer::Yes);
  m_window->command(kIdDelete);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].caption, "Deleting GROUP: Staff");
  EXPECT_EQ(m_messages->shown()[0].text,
            "You have chosen to delete a group. This means that the\nSecurity ID (SID) of the "
            "group will be PERMANENTLY\nremoved from the system.\nARE YOU SURE you wish to delete "
            "the group?");
  EXPECT_EQ(globalComment("Staff"), "<none>");
  waitForList();
  // The group and its member rows are gone from the list.
  EXPECT_FALSE(listed("Staff"));

  // No keeps the group.
  m_messages->clear();
  selectOnly({"Domain Admins"});
  m_messages->queueAnswer(ui::Answer::No);
  m_window->command(kIdDelete);
  EXPECT_NE(globalComment("Domain Admins"), "<none>");
  EXPECT_TRUE(listed("Domain Admins"));

  // A local group is deleted as one; a group gone behind the list's back
  // gets the general report.
  ASSERT_EQ(NetGroupDel("\\\\PDC", "Domain Admins"), NERR_Success);
  m_messages->clear();
  selectOnly({"Printers", "Domain Admins"});
  m_messages->queueAnswer(ui::Answer::Yes);
  m_messages->queueAnswer(ui::Answer::Yes);
  m_window->command(kIdDelete);
  EXPECT_EQ(localComment("Printers"), "<none>");
  const auto texts = shownTexts();
  ASSERT_EQ(texts.size(), 3u);
  // The general report, with the reason: the group is gone.
  EXPECT_EQ(std::count(texts.begin(), texts.end(),
                       "An error occurred while processing the last user request.\n"
                       "The group name could not be found."),
            1);
  waitForList();
  EXPECT_FALSE(listed("Printers"));
  EXPECT_EQ(localLog(), (std::vector<std::string>{"59272 Group Deleted:   Staff",
                                                  "59272 Group Deleted:   Printers"}));
}

}  // namespace
