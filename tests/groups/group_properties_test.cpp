// Group Properties in the window over the window lab: new and existing,
// global and local groups, driven through the scripted dialog runner and
// boxes; the lab's groups after OK are the proof.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "groups_window.h"
#include "../support/lab_readback.h"
#include "session/display_traits.h"
#include "groups/group_properties_dialog.h"
#include "groups/other_domain_member_dialog.h"
#include "groups/select_group_dialog.h"
#include "platform/eventlog.h"
#include "platform/netapi.h"
#include "window/command_ids.h"

namespace {

using test_support::globalComment;
using test_support::globalMemberSet;
using test_support::localComment;
using test_support::localMemberSet;
using apptest::waitUntil;
using display::DisplayType;
using groups::GroupPropertiesDialog;
using namespace platform;
using namespace window;

std::vector<std::string> entries(const QListWidget* list) {
  std::vector<std::string> all;
  for (int i = 0; i < list->count(); ++i) all.push_back(list->item(i)->text().toStdString());
  return all;
}

void select(QListWidget* list, const std::string& entry) {
  const auto found = list->findItems(QString::fromStdString(entry), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << entry;
  found.front()->setSelected(true);
}

class GroupProperties : public groupstest::GroupsWindowTest {
 protected:
  int rowOf(const std::string& name) const {
    for (int r = 0; r < m_view->model()->rowCount(); ++r)
      if (m_view->model()->index(r, 0).data().toString().toStdString() == name) return r;
    return -1;
  }
  void selectOnly(const std::string& group) {
    m_view->clearSelection();
    const int row = rowOf(group);
    ASSERT_GE(row, 0) << group;
    m_view->selectionModel()->select(m_view->model()->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  void queue(std::function<void(GroupPropertiesDialog&)> step) {
    m_dialogs->queueStep([step](QDialog& d) {
      auto& dialog = dynamic_cast<GroupPropertiesDialog&>(d);
      step(dialog);
      return dialog.result();
    });
  }

};

TEST_F(GroupProperties, ExistingGlobalAndLocalGroupsGetTheirDescriptionAndMemberChanges) {
  selectOnly("Staff");
  queue([](GroupPropertiesDialog& dialog) {
    EXPECT_TRUE(dialog.otherDomainButton()->isHidden());
    EXPECT_FALSE(dialog.localRadio()->isChecked());
    EXPECT_FALSE(dialog.localRadio()->isEnabled());
    EXPECT_EQ(dialog.descriptionEdit()->text(), "Everyone on the payroll");
    EXPECT_EQ(entries(dialog.membersList()), (std::vector<std::string>{"alice", "bob"}));
    EXPECT_EQ(entries(dialog.candidatesList()), (std::vector<std::string>{"Administrator"}));
    dialog.descriptionEdit()->setText(QStringLiteral("Paid monthly"));
    select(dialog.membersList(), "bob");
    dialog.moveToCandidatesButton()->click();
    select(dialog.candidatesList(), "Administrator");
    dialog.moveToMembersButton()->click();
    dialog.accept();
  });
  m_window->command(kIdPropertiesCyclic);
  EXPECT_TRUE(shownTexts().empty());
  EXPECT_EQ(globalComment("Staff"), "Paid monthly");
  EXPECT_EQ(globalMemberSet("Staff"), (std::set<std::string>{"alice", "Administrator"}));
  waitForList();

  // A local group lists and takes its members as DOMAIN\name; the global
  // group among them is removed by the SID it was read with.
  selectOnly("Administrators");
  queue([](GroupPropertiesDialog& dialog) {
    EXPECT_TRUE(dialog.localRadio()->isChecked());
    EXPECT_EQ(entries(dialog.membersList()),
              (std::vector<std::string>{"LAB\\Administrator", "LAB\\Domain Admins"}));
    EXPECT_EQ(entries(dialog.candidatesList()), (std::vector<std::string>{"LAB\\alice", "LAB\\bob"}));
    select(dialog.membersList(), "LAB\\Domain Admins");
    dialog.moveToCandidatesButton()->click();
    select(dialog.candidatesList(), "LAB\\bob");
    dialog.moveToMembersButton()->click();
    // A typed name of another domain that nobody knows: refused before
    // anything is written, so the group is as it was.
    ASSERT_FALSE(dialog.otherDomainButton()->isHidden());
    dialog.otherDomainButton()->click();
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(localMemberSet("Administrators"),
              (std::set<std::string>{"LAB\\Administrator", "LAB\\Domain Admins"}));
    select(dialog.membersList(), "PARTNER\\nobody");
    dialog.moveToCandidatesButton()->click();
    dialog.accept();
  });
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<groups::OtherDomainMemberDialog&>(d);
    dialog.memberEdit()->setText(QStringLiteral("PARTNER\\nobody"));
    dialog.accept();
    return dialog.result();
  });
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{"One of the members entered is invalid.\nPlease "
                                                    "remove user 'PARTNER\\nobody'"}));
  EXPECT_EQ(localMemberSet("Administrators"),
            (std::set<std::string>{"LAB\\Administrator", "LAB\\bob"}));
}

TEST_F(GroupProperties, NewGroupsNeedANameRefuseUnknownMembersBeforeWritingAndAreListed) {
  queue([](GroupPropertiesDialog& dialog) {
    // No name: refused, nothing made.
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.nameEdit()->setText(QStringLiteral("Temps"));
    dialog.descriptionEdit()->setText(QStringLiteral("Seasonal"));
    select(dialog.candidatesList(), "alice");
    dialog.moveToMembersButton()->click();
    dialog.accept();
  });
  m_window->command(kIdAdd);
  EXPECT_EQ(shownTexts(),
            (std::vector<std::string>{"You MUST fill in a name, or cancel this action."}));
  EXPECT_EQ(globalComment("Temps"), "Seasonal");
  EXPECT_EQ(globalMemberSet("Temps"), (std::set<std::string>{"alice"}));
  waitForList();
  EXPECT_GE(rowOf("Temps"), 0);

  // A local group with a member nobody knows: refused before the group is
  // made; without it, made with the rest.
  m_messages->clear();
  queue([](GroupPropertiesDialog& dialog) {
    dialog.nameEdit()->setText(QStringLiteral("Printers"));
    dialog.localRadio()->setChecked(true);
    dialog.membersList()->addItem(QStringLiteral("LAB\\bob"));
    dialog.membersList()->addItem(QStringLiteral("NOWHERE\\ghost"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(localComment("Printers"), "<none>");
    select(dialog.membersList(), "NOWHERE\\ghost");
    dialog.moveToCandidatesButton()->click();
    dialog.accept();
  });
  m_window->command(kIdAdd);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].caption, "Invalid user entered.");
  EXPECT_EQ(m_messages->shown()[0].text,
            "One of the members entered is invalid.\nPlease remove user 'NOWHERE\\ghost'");
  EXPECT_EQ(localMemberSet("Printers"), (std::set<std::string>{"LAB\\bob"}));
  waitForList();
  EXPECT_GE(rowOf("Printers"), 0);

  std::vector<EventRecord> log;
  ASSERT_EQ(ReadEventLog("", &log), 0u);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].strings, std::vector<std::string>{"Global Group Added:   Temps"});
  EXPECT_EQ(log[1].strings, std::vector<std::string>{"Local Group Added:   Printers"});
}

// "Select Group" turns the dialog into an editor of two groups; the second
// is written from the right-hand list, whose entries lose only the
// server's own domain.
// Every member is checked, by look-up and by kind, before the first write:
// a local group offered as a member of a local group is refused while the
// description and the other members are not yet written; once it is taken
// out, one OK writes them all.
TEST_F(GroupProperties, ALocalGroupRefusedAsMemberLeavesEverythingUnwrittenUntilMended) {
  ASSERT_EQ(NetLocalGroupAdd("\\\\PDC", 1, LOCALGROUP_INFO_1{"Project Share", ""}, nullptr),
            NERR_Success);
  const std::string before = localComment("Administrators");
  selectOnly("Administrators");
  queue([&](GroupPropertiesDialog& dialog) {
    dialog.descriptionEdit()->setText(QStringLiteral("Run the domain"));
    dialog.membersList()->addItem(QStringLiteral("LAB\\Project Share"));
    dialog.membersList()->addItem(QStringLiteral("LAB\\bob"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(localComment("Administrators"), before);
    EXPECT_EQ(localMemberSet("Administrators").count("LAB\\bob"), 0u);
    select(dialog.membersList(), "LAB\\Project Share");
    dialog.moveToCandidatesButton()->click();
    dialog.accept();
  });
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{
                              "One of the members entered is invalid.\nPlease remove user "
                              "'LAB\\Project Share'"}));
  EXPECT_EQ(localComment("Administrators"), "Run the domain");
  EXPECT_EQ(localMemberSet("Administrators").count("LAB\\bob"), 1u);
  EXPECT_EQ(localMemberSet("Administrators").count("LAB\\Project Share"), 0u);
}

TEST_F(GroupProperties, TwoGroupEditorWritesBothGroups) {
  selectOnly("Staff");
  queue([](GroupPropertiesDialog& dialog) {
    dialog.selectGroupButton()->click();  // OK without a choice: nothing changes
    EXPECT_EQ(entries(dialog.candidatesList()), (std::vector<std::string>{"Administrator"}));
    dialog.selectGroupButton()->click();
    EXPECT_EQ(entries(dialog.candidatesList()), (std::vector<std::string>{"Administrator"}));
    select(dialog.membersList(), "alice");
    dialog.copyToCandidatesButton()->click();
    EXPECT_FALSE(dialog.selectGroupButton()->isEnabled());
    // Delete asks per member: No keeps bob, then Yes takes him off.
    ASSERT_FALSE(dialog.deleteButton()->isHidden());
    dialog.membersList()->clearSelection();
    select(dialog.membersList(), "bob");
    dialog.deleteButton()->click();
    dialog.deleteButton()->click();
    EXPECT_EQ(entries(dialog.membersList()), (std::vector<std::string>{"alice"}));
    dialog.accept();
  });
  m_dialogs->queueStep([](QDialog& d) {
    auto& picker = dynamic_cast<groups::SelectGroupDialog&>(d);
    // The group being edited is never offered.
    EXPECT_TRUE(picker.groupList()->findItems(QStringLiteral("Staff"), Qt::MatchExactly).isEmpty());
    picker.accept();
    return picker.result();
  });
  m_dialogs->queueStep([](QDialog& d) {
    auto& picker = dynamic_cast<groups::SelectGroupDialog&>(d);
    picker.groupList()->findItems(QStringLiteral("Domain Admins"), Qt::MatchExactly).front()->setSelected(true);
    picker.accept();
    return picker.result();
  });
  m_messages->queueAnswer(ui::Answer::No);
  m_messages->queueAnswer(ui::Answer::Yes);
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{
                              "WARNING: YOU ARE REMOVING A USER FROM A GROUP\nUsername: bob",
                              "WARNING: YOU ARE REMOVING A USER FROM A GROUP\nUsername: bob"}));
  m_messages->clear();
  EXPECT_EQ(globalMemberSet("Staff"), (std::set<std::string>{"alice"}));
  EXPECT_EQ(globalMemberSet("Domain Admins"), (std::set<std::string>{"Administrator", "alice"}));
  waitForList();

  selectOnly("Administrators");
  queue([](GroupPropertiesDialog& dialog) {
    dialog.selectGroupButton()->click();
    EXPECT_EQ(entries(dialog.candidatesList()), (std::vector<std::string>{"LAB\\alice"}));
    select(dialog.candidatesList(), "LAB\\alice");
    dialog.moveToMembersButton()->click();
    dialog.candidatesList()->addItem(QStringLiteral("PARTNER\\bob"));
    dialog.accept();
  });
  m_dialogs->queueStep([](QDialog& d) {
    auto& picker = dynamic_cast<groups::SelectGroupDialog&>(d);
    picker.groupList()->findItems(QStringLiteral("Staff"), Qt::MatchExactly).front()->setSelected(true);
    picker.accept();
    return picker.result();
  });
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(localMemberSet("Administrators"),
            (std::set<std::string>{"LAB\\Administrator", "LAB\\Domain Admins", "LAB\\alice"}));
  // Another domain's bob is not this domain's: refused, not added as "bob".
  EXPECT_EQ(shownTexts(),
            (std::vector<std::string>{"Could not add user to group.\nUSER: PARTNER\\bob!"}));
  EXPECT_EQ(globalMemberSet("Staff"), (std::set<std::string>{}));
}

// The OK step reads the current members in pages: members beyond the
// first page must be removed too, not added again.
TEST_F(GroupProperties, OkSeesEveryMemberOfALargeGroup) {
  std::set<std::string> everyone{"alice", "bob"};
  for (int i = 0; i < 600; ++i) {
    USER_INFO_1 user;
    user.usri1_name = "tempworker" + std::to_string(i);
    ASSERT_EQ(NetUserAdd("\\\\PDC", 1, user, nullptr), NERR_Success);
    ASSERT_EQ(NetGroupAddUser("\\\\PDC", "Staff", user.usri1_name), NERR_Success);
    everyone.insert(user.usri1_name);
  }
  ASSERT_EQ(globalMemberSet("Staff"), everyone);
  selectOnly("Staff");
  queue([](GroupPropertiesDialog& dialog) {
    EXPECT_EQ(dialog.membersList()->count(), 602);
    const std::vector<std::string> shown = entries(dialog.membersList());
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    dialog.membersList()->selectAll();
    dialog.membersList()->findItems(QStringLiteral("alice"), Qt::MatchExactly).front()->setSelected(false);
    dialog.moveToCandidatesButton()->click();
    dialog.accept();
  });
  m_window->command(kIdPropertiesCyclic);
  EXPECT_TRUE(shownTexts().empty());
  EXPECT_EQ(globalMemberSet("Staff"), (std::set<std::string>{"alice"}));
}

}  // namespace
