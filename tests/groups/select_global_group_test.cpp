// The global-group picker of a local group's properties: domains from the
// network enumeration, groups from the chosen domain's controller, and an
// answer that always names the domain the list came from. The lab's local
// group after OK is the proof.

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include <set>
#include <string>
#include <vector>

#include "groups_window.h"
#include "../support/lab_readback.h"
#include "groups/group_properties_dialog.h"
#include "groups/select_global_group_dialog.h"
#include "platform/lab/change_set.h"
#include "platform/lab/model.h"
#include "platform/netapi.h"
#include "window/command_ids.h"

namespace {

using test_support::localMemberSet;
using groups::GroupPropertiesDialog;
using groups::SelectGlobalGroupDialog;
using namespace platform;

std::vector<std::string> entries(const QListWidget* list) {
  std::vector<std::string> all;
  for (int i = 0; i < list->count(); ++i) all.push_back(list->item(i)->text().toStdString());
  return all;
}

std::vector<std::string> entries(const QComboBox* combo) {
  std::vector<std::string> all;
  for (int i = 0; i < combo->count(); ++i) all.push_back(combo->itemText(i).toStdString());
  return all;
}

void choose(QComboBox* combo, const char* domain) {
  const int index = combo->findText(QString::fromLatin1(domain));
  ASSERT_GE(index, 0) << domain;
  combo->setCurrentIndex(index);
  Q_EMIT combo->textActivated(combo->itemText(index));
}

void select(QListWidget* list, const char* entry) {
  const auto found = list->findItems(QString::fromLatin1(entry), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << entry;
  found.front()->setSelected(true);
}

constexpr DWORD kGroupAttributes = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;

// The window lab with a trusted domain PARTNER (controller PPDC) and a
// workgroup without controller beside LAB.
class SelectGlobalGroup : public groupstest::GroupsWindowTest {
 protected:
  void SetUp() override {
    GroupsWindowTest::SetUp();
    m_lab->write([](lab::Network& net, lab::ChangeSet&) {
      lab::Domain partner;
      partner.name = "PARTNER";
      partner.pdc = "PPDC";
      partner.sam.name = "PARTNER";
      partner.sam.sid = SID{"S-1-5-21-701-801-901"};
      partner.sam.addUser(lab::builtinAdministrator());
      partner.sam.addGroup(lab::Group{"Couriers", 1100, "Van drivers", kGroupAttributes, {}});
      partner.sam.addGroup(lab::Group{"Partner Staff", 1101, "", kGroupAttributes, {}});
      net.domains.push_back(std::move(partner));
      lab::Domain workgroup;
      workgroup.name = "ATTIC";
      workgroup.sam.name = "ATTIC";
      net.domains.push_back(std::move(workgroup));
      net.findDomain("LAB")->trusts.push_back("PARTNER");
      lab::Machine ppdc;
      ppdc.name = "PPDC";
      ppdc.domain = "PARTNER";
      ppdc.type = SV_TYPE_SERVER | SV_TYPE_DOMAIN_CTRL | SV_TYPE_NT;
      net.machines.push_back(std::move(ppdc));
      return true;
    });
  }
  void selectOnly(const std::string& group) {
    m_view->clearSelection();
    for (int r = 0; r < m_view->model()->rowCount(); ++r) {
      if (m_view->model()->index(r, 0).data().toString().toStdString() != group) continue;
      m_view->selectionModel()->select(m_view->model()->index(r, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
      return;
    }
    FAIL() << group;
  }
};

TEST_F(SelectGlobalGroup, AddsAGroupOfAnotherDomainToALocalGroup) {
  selectOnly("Administrators");
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<GroupPropertiesDialog&>(d);
    EXPECT_FALSE(dialog.addGlobalGroupButton()->isHidden());
    dialog.addGlobalGroupButton()->click();  // cancelled: nothing added
    dialog.addGlobalGroupButton()->click();
    EXPECT_EQ(entries(dialog.membersList()),
              (std::vector<std::string>{"LAB\\Administrator", "LAB\\Domain Admins", "PARTNER\\Couriers"}));
    dialog.accept();
    return dialog.result();
  });
  m_dialogs->queueResult(QDialog::Rejected);
  m_dialogs->queueStep([](QDialog& d) {
    auto& picker = dynamic_cast<SelectGlobalGroupDialog&>(d);
    // Domains and workgroups of the network, starting on the local domain
    // with the browse server's groups.
    EXPECT_EQ(entries(picker.domainCombo()), (std::vector<std::string>{"ATTIC", "LAB", "PARTNER"}));
    EXPECT_EQ(picker.domainCombo()->currentText(), "LAB");
    EXPECT_EQ(entries(picker.groupList()), (std::vector<std::string>{"Domain Admins", "Staff"}));
    choose(picker.domainCombo(), "PARTNER");
    EXPECT_EQ(entries(picker.groupList()), (std::vector<std::string>{"Couriers", "Partner Staff"}));
    select(picker.groupList(), "Couriers");
    picker.accept();
    return picker.result();
  });
  m_window->command(window::kIdPropertiesCyclic);
  EXPECT_TRUE(shownTexts().empty());
  EXPECT_EQ(localMemberSet("Administrators"),
            (std::set<std::string>{"LAB\\Administrator", "LAB\\Domain Admins", "PARTNER\\Couriers"}));
  std::vector<std::string> titles;
  for (const auto& shown : m_dialogs->shown()) titles.push_back(shown.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Group Properties",
                                              "Select Global group to add to local group",
                                              "Select Global group to add to local group"}));
}

TEST_F(SelectGlobalGroup, AnswersOnlyWithTheDomainTheListCameFrom) {
  // Browsing PARTNER's controller from a LAB machine: the combo starts on
  // LAB, but the list holds PARTNER's groups, and OK says so.
  {
    SelectGlobalGroupDialog picker("\\\\PPDC", *m_messages);
    ASSERT_TRUE(picker.opened());
    EXPECT_EQ(picker.domainCombo()->currentText(), "LAB");
    select(picker.groupList(), "Couriers");
    picker.accept();
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.chosen(), "PARTNER\\Couriers");
  }
  // A refill that fails empties the list, so nothing of the former domain
  // can be returned under the new one's name; OK is then Cancel.
  {
    SelectGlobalGroupDialog picker("\\\\PDC", *m_messages);
    select(picker.groupList(), "Staff");
    choose(picker.domainCombo(), "ATTIC");  // a workgroup: no controller
    EXPECT_TRUE(entries(picker.groupList()).empty());
    EXPECT_EQ(picker.listDomain(), "");
    ASSERT_TRUE(m_lab->refuseOperation("PPDC", "NetQueryDisplayInformation", ERROR_ACCESS_DENIED));
    choose(picker.domainCombo(), "PARTNER");
    EXPECT_TRUE(entries(picker.groupList()).empty());
    picker.accept();
    EXPECT_EQ(picker.result(), QDialog::Rejected);
    EXPECT_EQ(picker.chosen(), "");
    choose(picker.domainCombo(), "LAB");  // back to a domain that answers
    EXPECT_EQ(entries(picker.groupList()), (std::vector<std::string>{"Domain Admins", "Staff"}));
    picker.accept();  // nothing selected: Cancel
    EXPECT_EQ(picker.result(), QDialog::Rejected);
  }
  ASSERT_EQ(m_messages->shown().size(), 2u);
  for (const auto& shown : m_messages->shown()) {
    EXPECT_EQ(shown.text, "An error occurred while using the Fast Query method for\nglobal groups.");
    EXPECT_EQ(shown.caption, "Error");
  }
}

TEST_F(SelectGlobalGroup, WithoutTheLocalDomainThePickerIsNotOpened) {
  ASSERT_TRUE(m_lab->refuseOperation("WS1", "NetWkstaGetInfo", ERROR_BAD_NETPATH));
  selectOnly("Administrators");
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<GroupPropertiesDialog&>(d);
    dialog.addGlobalGroupButton()->click();
    EXPECT_EQ(entries(dialog.membersList()),
              (std::vector<std::string>{"LAB\\Administrator", "LAB\\Domain Admins"}));
    dialog.reject();
    return dialog.result();
  });
  m_window->command(window::kIdPropertiesCyclic);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text,
            "No Domain Controller (DC) could be located.\nPlease check your network "
            "connections.\n\nVeltrane will terminate now.");
  EXPECT_EQ(m_messages->shown()[0].caption, "Veltrane");
  EXPECT_EQ(m_dialogs->shown().size(), 1u) << "only Group Properties ran";
}

}  // namespace
