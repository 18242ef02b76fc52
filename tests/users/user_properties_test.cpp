// The user properties dialog in the window over a lab: new account, one
// account, several accounts at once, the domain-controller question and the
// editors. What the lab holds after OK is the proof.

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../app/app_test_support.h"
#include "../support/lab_readback.h"
#include "../support/temp_folder.h"
#include "../support/zone_guard.h"
#include "session/display_traits.h"
#include "platform/dialin.h"
#include "platform/eventlog.h"
#include "platform/lab/lab_backend.h"
#include "platform/netapi.h"
#include "ui/scripted_program_starter.h"
#include "users/account_expiry_dialog.h"
#include "users/hours_grid.h"
#include "users/logon_hours_dialog.h"
#include "users/logon_to_dialog.h"
#include "users/user_editors.h"
#include "users/user_load.h"
#include "users/user_properties_dialog.h"
#include "window/command_ids.h"

namespace {

using test_support::account;
using test_support::globalMembers;
using test_support::localMemberSet;
using test_support::localMembers;
using apptest::waitUntil;
using display::DisplayType;
using users::CUserProperties;
using namespace platform;
using namespace window;

const std::string kLabPath = VELTRANE_SOURCE_DIR "/tests/users/user-properties-lab.json";

// The lab, with calls a test can make fail.
class BendingLab final : public lab::LabAccounts {
 public:
  using LabAccounts::LabAccounts;
  DWORD NetUserSetInfo(std::string_view server, std::string_view user, DWORD level,
                       const NetInfo& info, DWORD* parm_err) override {
    if (level == 3 && failFullWrites > 0) {
      --failFullWrites;
      return ERROR_ACCESS_DENIED;
    }
    return LabAccounts::NetUserSetInfo(server, user, level, info, parm_err);
  }
  DWORD NetGroupAddUser(std::string_view server, std::string_view group,
                        std::string_view user) override {
    if (group == refusedGroup) return ERROR_ACCESS_DENIED;
    return LabAccounts::NetGroupAddUser(server, group, user);
  }
  int failFullWrites = 0;
  std::string refusedGroup;
};

std::vector<std::string> events() {
  std::vector<EventRecord> records;
  ReadEventLog("", &records);
  std::vector<std::string> texts;
  for (const auto& r : records)
    if (!r.strings.empty()) texts.push_back(r.strings.front());
  return texts;
}

std::vector<std::string> entries(const QListWidget* list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list->count(); ++i) texts.push_back(list->item(i)->text().toStdString());
  return texts;
}

bool has(const std::vector<std::string>& texts, std::string_view text) {
  return std::ranges::find(texts, text) != texts.end();
}

// Selects the entries of `list` named, and presses `button`.
void move(QListWidget* list, std::initializer_list<const char*> names, QPushButton* button) {
  list->clearSelection();
  for (const char* name : names) {
    const auto found = list->findItems(QString::fromUtf8(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    found.front()->setSelected(true);
  }
  button->click();
}

// A drag on the hours grid from one cell to another, as the mouse makes it
// (hour -1: a day's name; day -1: an hour's number).
void drag(users::HoursGrid* grid, std::pair<int, int> from, std::pair<int, int> to) {
  const auto send = [grid](QEvent::Type type, QPoint at, Qt::MouseButton button,
                           Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(grid->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(grid, &event);
  };
  const QPoint start = grid->cellRect(from.first, from.second).center();
  const QPoint end = grid->cellRect(to.first, to.second).center();
  send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
}

bool mixedNoteShown(const QDialog& dialog) {
  return dialog.findChild<QLabel*>(QStringLiteral("mixedNote")) != nullptr;
}

class UserProperties : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    m_backend.reset();
    m_lab = lab::test::loadLabFile(kLabPath);
    ASSERT_TRUE(m_lab);
    start();
  }
  void start() {
    m_bending = std::make_shared<BendingLab>(m_lab);
    m_backend.serve(lab::makeLabBackend(m_lab, m_bending));
    ASSERT_TRUE(makeWindow());
    m_window->settings().e_logging_onoff = 1;
    m_window->selectTab(display::traitsOf(DisplayType::Users).tab);
    browse();
    m_view = qobject_cast<QTableView*>(m_window->resultControl(kCtlUsersList));
    ASSERT_NE(m_view, nullptr);
  }
  void browse() {
    m_window->browse();
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  }
  std::vector<std::string> listed() const {
    std::vector<std::string> names;
    for (int r = 0; r < m_view->model()->rowCount(); ++r)
      names.push_back(m_view->model()->index(r, 0).data().toString().toStdString());
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
  void run(int id, std::function<void(CUserProperties&)> work) {
    m_dialogs->queueStep([work](QDialog& d) {
      auto& dialog = dynamic_cast<CUserProperties&>(d);
      work(dialog);
      return dialog.result();
    });
    m_window->command(id);
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  }

  // The next sub-dialog of the user dialog: `work` works it, then it is
  // accepted (unless `work` did) or, without `ok`, cancelled.
  template <typename Dialog>
  void answer(std::function<void(Dialog&)> work, bool ok = true) {
    m_dialogs->queueStep([work, ok](QDialog& d) {
      auto& dialog = dynamic_cast<Dialog&>(d);
      work(dialog);
      if (!ok) return static_cast<int>(QDialog::Rejected);
      if (dialog.result() != QDialog::Accepted) dialog.accept();
      return dialog.result();
    });
  }
  // The window again over the lab kept in `file`, as a new start reads it.
  void reopen(const std::string& file) {
    close();
    std::string error;
    m_lab = lab::loadLabFile(file, &error);
    ASSERT_TRUE(m_lab) << error;
    start();
  }
  // The window and its lab gone, so that a lab file may go too.
  void close() {
    m_window.reset();
    m_backend.reset();
    m_bending.reset();
    m_lab.reset();
  }

  std::shared_ptr<BendingLab> m_bending;
  QTableView* m_view = nullptr;
};

TEST_F(UserProperties, NewUserIsCheckedBeforeCreationAndASecondOkEditsTheNewAccount) {
  // A lab file, so that what OK wrote is read back from the file itself.
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("userprops-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "lab.json").string();
  std::filesystem::copy_file(kLabPath, file, std::filesystem::copy_options::overwrite_existing);
  m_window.reset();
  m_backend.reset();
  std::string error;
  m_lab = lab::loadLabFile(file, &error);
  ASSERT_TRUE(m_lab) << error;
  start();

  run(kIdAdd, [&](CUserProperties& d) {
    EXPECT_EQ(d.windowTitle(), "New User");
    EXPECT_TRUE(d.newNameEdit()->isVisibleTo(&d));
    EXPECT_FALSE(d.userNameLabel()->isVisibleTo(&d));
    EXPECT_TRUE(d.memberOfList()->count() == 0);
    EXPECT_TRUE(has(entries(d.notMemberOfList()), "(G) Sales"));
    EXPECT_TRUE(has(entries(d.notMemberOfList()), "(L) Auditors"));

    d.accept();  // no name yet
    d.newNameEdit()->setText("dave");
    d.passwordEdit()->setText("pw-one");
    d.confirmationEdit()->setText("pw-two");
    d.accept();
    d.confirmationEdit()->setText("pw-one");
    d.mustChangeBox()->setChecked(true);
    d.cannotChangeBox()->setChecked(true);
    d.accept();
    d.cannotChangeBox()->setChecked(false);
    d.neverExpiresBox()->setChecked(true);
    d.accept();
    EXPECT_FALSE(account("dave")) << "created while a check kept the dialog open";

    d.neverExpiresBox()->setChecked(false);
    move(d.notMemberOfList(), {"(G) Sales", "(L) Auditors"}, d.addButton());
    m_bending->failFullWrites = 1;
    d.accept();
    ASSERT_TRUE(account("dave"));
    EXPECT_EQ(d.result(), QDialog::Rejected) << "closed although the settings were not written";
    EXPECT_EQ(d.windowTitle(), "dave");
    EXPECT_FALSE(d.newNameEdit()->isVisibleTo(&d));
    d.accept();
  });
  ASSERT_EQ(m_dialogs->shown().size(), 1u);
  const std::vector<std::string> texts = shownTexts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "You MUST fill in a name, or cancel this action.");
  EXPECT_EQ(texts[1], "The PASSWORDS entered do not match. Please ensure that the password is "
                      "identical in both entry fields.");
  EXPECT_EQ(texts[2], "You cannot check both 'User must change password at next logon'\nand "
                      "'User cannot change password' at the same time.");
  EXPECT_EQ(texts[3], "You have selected the conflicting options \"Password never expires\" and\n "
                      "\"User must change password at next logon\". \nThese cannot both be set. "
                      "Please uncheck one of them.");
  EXPECT_EQ(texts[4], "An error occurred while changing the user settings. Re-check the "
                      "settings.\nError#5: Access is denied.\nPlease check you have sufficient rights in "
                      "the target "
                      "domain.");
  EXPECT_EQ(m_messages->shown()[4].caption, "Initializing user");
  EXPECT_EQ(std::ranges::count(events(), "User Added:   dave"), 1);
  EXPECT_TRUE(has(listed(), "dave")) << "the list was not browsed again";

  // Closed and opened again: the lab file holds the account as OK left it.
  m_window.reset();
  m_backend.reset();
  m_bending.reset();
  m_lab.reset();
  m_lab = lab::loadLabFile(file, &error);
  ASSERT_TRUE(m_lab) << error;
  platform::ScopedBackend reopened(lab::makeLabBackend(m_lab));
  const auto dave = account("dave");
  ASSERT_TRUE(dave);
  EXPECT_NE(dave->usri3_password_expired, 0u);
  EXPECT_FALSE(dave->usri3_flags & UF_DONT_EXPIRE_PASSWD);
  EXPECT_TRUE(dave->usri3_flags & UF_NORMAL_ACCOUNT);
  // Created with a password: nothing lets a blank one in later.
  EXPECT_FALSE(dave->usri3_flags & UF_PASSWD_NOTREQD);
  EXPECT_TRUE(has(globalMembers("Sales"), "dave"));
  EXPECT_TRUE(has(localMembers("Auditors"), "LAB\\dave"));
  m_lab.reset();
  std::filesystem::remove_all(dir);
}

// Without a password the account is made as a real domain needs it, with
// "password not required"; given one, without it.
TEST_F(UserProperties, OnlyANewUserWithoutAPasswordIsCreatedPasswordNotRequired) {
  for (const char* password : {"", "pw-erin"}) {
    const std::string name = std::string("erin") + (*password ? "2" : "1");
    run(kIdAdd, [&](CUserProperties& d) {
      d.newNameEdit()->setText(QString::fromStdString(name));
      d.passwordEdit()->setText(password);
      d.confirmationEdit()->setText(password);
      d.accept();
    });
    const auto created = account(name);
    ASSERT_TRUE(created) << name;
    EXPECT_EQ((created->usri3_flags & UF_PASSWD_NOTREQD) != 0, *password == '\0') << name;
  }
  EXPECT_TRUE(m_messages->shown().empty()) << shownTexts().front();
}

TEST_F(UserProperties, SingleEditWritesFieldsFlagsAndGlobalAndLocalMembership) {
  select({"alice"});
  run(kIdPropertiesCyclic, [&](CUserProperties& d) {
    EXPECT_EQ(d.windowTitle(), "alice");
    EXPECT_EQ(d.userNameLabel()->text(), "alice");
    EXPECT_EQ(d.fullNameEdit()->text(), "Alice Archer");
    EXPECT_EQ(d.lastLogonLabel()->text(), "********* Never *********");
    EXPECT_EQ(d.passwordEdit()->text(), "**************");
    EXPECT_EQ(d.homeDriveEdit()->text(), "H:");
    const auto member = entries(d.memberOfList());
    EXPECT_TRUE(has(member, "(G) Staff"));
    EXPECT_TRUE(has(member, "(G) Domain Users"));
    EXPECT_TRUE(has(member, "(I) Printing"));
    const auto other = entries(d.notMemberOfList());
    EXPECT_TRUE(has(other, "(L) Printing")) << "an indirect group can still be joined directly";
    EXPECT_TRUE(has(other, "(L) Auditors"));
    EXPECT_FALSE(has(other, "(G) Staff"));
    // Dial-in: shown as read, not changeable here.
    EXPECT_TRUE(d.rasBox()->isChecked());
    EXPECT_FALSE(d.rasBox()->isEnabled());
    EXPECT_TRUE(d.callbackRadio(1)->isChecked());
    EXPECT_EQ(d.callbackNumberEdit()->text(), "555-0100");
    EXPECT_FALSE(d.lockedOutBox()->isEnabled());

    move(d.memberOfList(), {"(I) Printing"}, d.removeButton());
    EXPECT_TRUE(has(entries(d.memberOfList()), "(I) Printing"));
    move(d.memberOfList(), {"(G) Staff"}, d.removeButton());
    move(d.notMemberOfList(), {"(L) Auditors", "(G) Sales"}, d.addButton());
    // In and out again within one opening: no change for Sales.
    move(d.memberOfList(), {"(G) Sales"}, d.removeButton());
    d.descriptionEdit()->setText("Ledgers");
    d.neverExpiresBox()->setChecked(true);
    d.passwordEdit()->setText("s3cret-pw");
    d.confirmationEdit()->setText("s3cret-pw");
    d.accept();
  });
  ASSERT_EQ(shownTexts().size(), 1u);
  EXPECT_EQ(shownTexts()[0].substr(0, 40), "(One of) The selected group(s) is Indire");

  const auto alice = account("alice");
  ASSERT_TRUE(alice);
  EXPECT_EQ(alice->usri3_comment, "Ledgers");
  EXPECT_EQ(alice->usri3_full_name, "Alice Archer");
  EXPECT_EQ(alice->usri3_profile, "\\\\FILES\\profiles\\alice");
  EXPECT_TRUE(alice->usri3_flags & UF_DONT_EXPIRE_PASSWD);
  EXPECT_FALSE(has(globalMembers("Staff"), "alice"));
  EXPECT_FALSE(has(globalMembers("Sales"), "alice"));
  EXPECT_EQ(localMemberSet("Auditors"), (std::set<std::string>{"LAB\\alice", "LAB\\carol"}));
  EXPECT_EQ(localMemberSet("Printing"), std::set<std::string>{"LAB\\Staff"});
  DWORD allowed = 0, type = 0;
  std::string number;
  ASSERT_NE(GetRAS("\\\\PDC", "alice", &allowed, &number, &type), 0);
  EXPECT_EQ(allowed, 1u);
  EXPECT_EQ(type, RAS_CALLBACK_PRESET);
  EXPECT_EQ(number, "555-0100");
}

TEST_F(UserProperties, CombinedChecksEveryAccountFirstAndGathersFailedGroupWrites) {
  m_bending->refusedGroup = "Sales";
  select({"carol", "alice", "bob"});
  run(kIdPropertiesCombined, [&](CUserProperties& d) {
    EXPECT_EQ(d.windowTitle(), "Multiple User change");
    EXPECT_EQ(entries(d.namesList()), (std::vector<std::string>{"alice", "bob", "carol"}));
    EXPECT_FALSE(d.fullNameEdit()->isVisibleTo(&d));
    EXPECT_FALSE(d.profileEdit()->isEnabled());
    EXPECT_EQ(d.memberOfLabel()->text(), "All are members of:");
    EXPECT_EQ(entries(d.memberOfList()), std::vector<std::string>{"(G) Domain Users"});
    EXPECT_TRUE(has(entries(d.notMemberOfList()), "(G) Staff"));
    EXPECT_EQ(d.lockedOutBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(d.lockedOutBox()->isEnabled());
    EXPECT_EQ(d.mustChangeBox()->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(d.disabledBox()->checkState(), Qt::Unchecked);
    EXPECT_EQ(d.rasBox()->checkState(), Qt::PartiallyChecked);

    // bob must change his password: "cannot change" for all conflicts
    // with his, though the must-change box is left mixed.
    d.cannotChangeBox()->setChecked(true);
    d.accept();
    d.cannotChangeBox()->setChecked(false);
    d.disabledBox()->setChecked(true);
    move(d.notMemberOfList(), {"(G) Sales", "(L) Auditors"}, d.addButton());
    d.passwordEdit()->setText("new-pw");
    d.confirmationEdit()->setText("new-pv");
    d.accept();
    EXPECT_FALSE(account("alice")->usri3_flags & UF_ACCOUNTDISABLE) << "written before a check";
    d.confirmationEdit()->setText("new-pw");
    d.accept();
  });
  const std::vector<std::string> texts = shownTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].substr(0, 40), "You cannot check both 'User must change ");
  EXPECT_EQ(texts[1].substr(0, 40), "The PASSWORDS entered do not match. Plea");
  EXPECT_EQ(texts[2], "Could not add user to the following group:\nSales: alice, bob, carol");

  for (const char* name : {"alice", "bob", "carol"}) {
    const auto user = account(name);
    ASSERT_TRUE(user) << name;
    EXPECT_TRUE(user->usri3_flags & UF_ACCOUNTDISABLE) << name;
    EXPECT_FALSE(user->usri3_flags & UF_PASSWD_CANT_CHANGE) << name;
  }
  EXPECT_TRUE(account("bob")->usri3_flags & UF_LOCKOUT) << "a mixed lockout box changed bob";
  EXPECT_FALSE(account("alice")->usri3_flags & UF_LOCKOUT);
  EXPECT_TRUE(globalMembers("Sales").empty());
  // Local groups are changed as local groups; carol was already in.
  EXPECT_EQ(localMemberSet("Auditors"),
            (std::set<std::string>{"LAB\\alice", "LAB\\bob", "LAB\\carol"}));
  DWORD allowed = 0, type = 0;
  std::string number;
  ASSERT_NE(GetRAS("\\\\PDC", "bob", &allowed, &number, &type), 0);
  EXPECT_EQ(allowed, 0u) << "a mixed dial-in setting was written";
  ASSERT_NE(GetRAS("\\\\PDC", "carol", &allowed, &number, &type), 0);
  EXPECT_EQ(number, "555-0100");
}

// Hours, Logon To and Account, written through the dialog's OK into a lab
// file at GMT+05:30 and read back after a new start at GMT-05:00: the hours
// as the server keeps them are the same hours, turned by each zone.
TEST_F(UserProperties, HoursWorkstationsAndExpiryRoundTripThroughTheLabFileAcrossZones) {
  test_support::ZoneGuard zone("IST-5:30");
  test_support::TempFolder folder;
  const std::string file = folder / "lab.json";
  std::filesystem::copy_file(kLabPath, file);
  reopen(file);
  select({"alice"});
  run(kIdPropertiesCyclic, [&](CUserProperties& d) {
    answer<users::LogonHoursDialog>([&](users::LogonHoursDialog& h) {
      EXPECT_TRUE(h.grid()->hours().all()) << "no hours kept means every hour";
      EXPECT_NE(h.zoneLabel()->text().indexOf("GMT+05:30"), -1);
      EXPECT_NE(h.zoneLabel()->text().indexOf("30 minutes later"), -1);
      drag(h.grid(), {-1, -1}, {-1, -1});  // the corner: the whole week, denied
      EXPECT_TRUE(h.grid()->hours().none());
      drag(h.grid(), {1, 9}, {5, 16});  // Monday to Friday, 09:00 to 16:59
    });
    d.hoursButton()->click();
    answer<users::LogonToDialog>([&](users::LogonToDialog& t) {
      EXPECT_TRUE(t.allRadio()->isChecked());
      ASSERT_EQ(t.nameEdits().size(), 8u);
      EXPECT_FALSE(t.nameEdits()[0]->isEnabled());
      t.theseRadio()->click();
      t.accept();
      t.nameEdits()[0]->setText("WKS1");
      t.nameEdits()[3]->setText("front desk");
      t.accept();
      t.nameEdits()[3]->setText("wks1");
      t.accept();
      EXPECT_EQ(t.nameEdits()[0]->text(), "WKS1") << "an edit was lost to a refusal";
      t.nameEdits()[3]->setText("FRONTDESK-01");
      t.accept();
    });
    d.logonToButton()->click();
    answer<users::AccountExpiryDialog>([&](users::AccountExpiryDialog& a) {
      EXPECT_TRUE(a.neverRadio()->isChecked());
      a.endOfRadio()->click();
      a.dateEdit()->setDate(QDate(2030, 6, 30));
      EXPECT_EQ(a.whenLabel()->text(), "Logons end at Mon Jul 01 00:00:00 2030 (local time).");
    });
    d.accountButton()->click();
    d.accept();
  });
  EXPECT_EQ(shownTexts(),
            (std::vector<std::string>{
                "Type at least one workstation name, or choose \"User May Log On To All "
                "Workstations\".",
                "\"front desk\" is not a computer name: a computer name holds no blanks and none "
                "of these characters: \\ / : * ? \" < > | , ; = + [ ]",
                "The workstation \"wks1\" is given twice."}));

  zone.set("EST5");
  reopen(file);
  auto alice = account("alice");
  ASSERT_TRUE(alice);
  std::vector<std::uint8_t> office(21, 0);
  for (int day = 1; day <= 5; ++day)
    for (int hour = 4; hour < 12; ++hour)  // 09:00 to 16:59 at GMT+05:30, turned by 5 hours
      office[static_cast<std::size_t>(day * 24 + hour) / 8] |=
          static_cast<std::uint8_t>(1u << ((day * 24 + hour) % 8));
  EXPECT_EQ(alice->usri3_logon_hours, office);
  EXPECT_EQ(alice->usri3_units_per_week, 168u);
  EXPECT_EQ(alice->usri3_workstations, "WKS1,FRONTDESK-01");
  EXPECT_EQ(alice->usri3_acct_expires, 1909074600u) << "2030-07-01 00:00 at GMT+05:30";

  m_messages->clear();
  select({"alice"});
  run(kIdPropertiesCyclic, [&](CUserProperties& d) {
    answer<users::LogonHoursDialog>([&](users::LogonHoursDialog& h) {
      const users::WeekHours& shown = h.grid()->hours();
      EXPECT_EQ(shown.count(), 40u);
      EXPECT_TRUE(shown[0 * 24 + 23]) << "Monday 09:00 at GMT+05:30 is Sunday 23:00 here";
      EXPECT_TRUE(shown[5 * 24 + 6]);
      EXPECT_FALSE(shown[5 * 24 + 7]);
      EXPECT_EQ(h.zoneLabel()->text().indexOf("minutes later"), -1);
      // Every hour again: the corner allows all when some are denied.
      drag(h.grid(), {-1, -1}, {-1, -1});
    });
    d.hoursButton()->click();
    answer<users::LogonToDialog>([&](users::LogonToDialog& t) {
      EXPECT_TRUE(t.theseRadio()->isChecked());
      EXPECT_EQ(t.nameEdits()[0]->text(), "WKS1");
      EXPECT_EQ(t.nameEdits()[1]->text(), "FRONTDESK-01");
    });
    d.logonToButton()->click();
    answer<users::AccountExpiryDialog>([&](users::AccountExpiryDialog& a) {
      EXPECT_TRUE(a.endOfRadio()->isChecked());
      EXPECT_EQ(a.dateEdit()->date(), QDate(2030, 6, 30));
      EXPECT_EQ(a.whenLabel()->text(), "Logons end at Sun Jun 30 13:30:00 2030 (local time).");
    });
    d.accountButton()->click();
    d.accept();
  });
  EXPECT_TRUE(m_messages->shown().empty());
  alice = account("alice");
  ASSERT_TRUE(alice);
  EXPECT_EQ(alice->usri3_logon_hours, std::vector<std::uint8_t>(21, 0xFF));
  EXPECT_EQ(alice->usri3_workstations, "WKS1,FRONTDESK-01");
  EXPECT_EQ(alice->usri3_acct_expires, 1909074600u) << "an expiry left alone moved";
  close();
}

// In the combined dialog a setting the accounts do not share is mixed; left
// alone (OK on its dialog with nothing marked, or Cancel) each account keeps
// its own, and a changed one is written to all.
TEST_F(UserProperties, CombinedLimitsLeaveUntouchedSettingsAloneAndWriteAChangedOneToAll) {
  const auto before = account("bob");
  ASSERT_TRUE(before);
  ASSERT_EQ(before->usri3_logon_hours.size(), 21u);
  select({"alice", "bob"});
  run(kIdPropertiesCombined, [&](CUserProperties& d) {
    answer<users::LogonHoursDialog>([&](users::LogonHoursDialog& h) {
      EXPECT_TRUE(mixedNoteShown(h));
      EXPECT_TRUE(h.grid()->hours().all());
    });
    d.hoursButton()->click();
    answer<users::LogonToDialog>([&](users::LogonToDialog& t) {
      EXPECT_TRUE(mixedNoteShown(t));
      t.theseRadio()->click();
      t.nameEdits()[0]->setText("WKS9");
    });
    d.logonToButton()->click();
    answer<users::AccountExpiryDialog>(
        [&](users::AccountExpiryDialog& a) {
          EXPECT_TRUE(mixedNoteShown(a));
          a.endOfRadio()->click();
        },
        false);
    d.accountButton()->click();
    d.accept();
  });
  EXPECT_TRUE(m_messages->shown().empty());
  for (const char* name : {"alice", "bob"})
    EXPECT_EQ(account(name)->usri3_workstations, "WKS9") << name;
  EXPECT_TRUE(account("alice")->usri3_logon_hours.empty());
  EXPECT_EQ(account("bob")->usri3_logon_hours, before->usri3_logon_hours);
  EXPECT_EQ(account("alice")->usri3_acct_expires, TIMEQ_FOREVER);
  EXPECT_EQ(account("bob")->usri3_acct_expires, 1900000000u);

  // Now they share their workstations and no others; a denied hour goes to both.
  select({"alice", "bob"});
  run(kIdPropertiesCombined, [&](CUserProperties& d) {
    answer<users::LogonToDialog>([&](users::LogonToDialog& t) {
      EXPECT_FALSE(mixedNoteShown(t));
      EXPECT_EQ(t.nameEdits()[0]->text(), "WKS9");
    });
    d.logonToButton()->click();
    answer<users::LogonHoursDialog>([&](users::LogonHoursDialog& h) {
      drag(h.grid(), {3, 12}, {3, 12});
    });
    d.hoursButton()->click();
    d.accept();
  });
  for (const char* name : {"alice", "bob"}) {
    const auto user = account(name);
    ASSERT_TRUE(user);
    const auto hours = users::hoursOf(user->usri3_logon_hours, user->usri3_units_per_week);
    ASSERT_TRUE(hours) << name;
    EXPECT_EQ(hours->count(), 167u) << name;
    EXPECT_EQ(user->usri3_workstations, "WKS9") << name;
  }
  EXPECT_EQ(account("bob")->usri3_acct_expires, 1900000000u);
}

TEST_F(UserProperties, NamesAndTextsTheLabCannotTakeAreRefusedAndLongUnicodeTextsKept) {
  const std::string longText(5000, 'x');
  const std::string unicode = "Zo\u00eb \u4e2d\u6587 \U0001F600";
  run(kIdAdd, [&](CUserProperties& d) {
    d.newNameEdit()->setText(QString(40, QLatin1Char('n')));
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    d.newNameEdit()->setText(QString::fromUtf8("zo\u00eb"));
    d.fullNameEdit()->setText(QString::fromStdString(unicode));
    d.descriptionEdit()->setText(QString::fromStdString(longText));
    d.accept();
  });
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text,
            "An error occurred while changing the user settings. Re-check the settings.\nError#1: "
            "the server refused the user name.");
  EXPECT_EQ(m_messages->shown()[0].caption, "Illegal parameter given");
  const auto added = account("zo\u00eb");
  ASSERT_TRUE(added);
  EXPECT_EQ(added->usri3_full_name, unicode);
  EXPECT_EQ(added->usri3_comment, longText);
  EXPECT_EQ(listed().size(), 5u);
}

// A password longer than the server keeps is refused in the dialog with
// the limit, and nothing typed is lost: the description edit stays, and the
// next OK with a password the server takes writes both.
TEST_F(UserProperties, ATooLongPasswordIsRefusedWithItsLimitAndKeepsEveryEdit) {
  select({"alice"});
  const QString tooLong(258, QLatin1Char('p'));
  const QString longest = QString(255, QLatin1Char('p')) + QString::fromUtf8("\u00e9");
  run(kIdPropertiesCyclic, [&](CUserProperties& d) {
    d.descriptionEdit()->setText(QStringLiteral("Night shift"));
    d.passwordEdit()->setText(tooLong);
    d.confirmationEdit()->setText(tooLong);
    d.accept();
    EXPECT_NE(d.result(), QDialog::Accepted);
    ASSERT_EQ(m_messages->shown().size(), 1u);
    EXPECT_EQ(m_messages->shown()[0].text, "A password can be at most 256 characters long.");
    EXPECT_EQ(d.descriptionEdit()->text(), "Night shift");
    EXPECT_EQ(d.passwordEdit()->text(), tooLong);
    d.passwordEdit()->setText(longest);
    d.confirmationEdit()->setText(longest);
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
  });
  EXPECT_EQ(m_messages->shown().size(), 1u);
  const auto changed = account("alice");
  ASSERT_TRUE(changed);
  EXPECT_EQ(changed->usri3_comment, "Night shift");
}

TEST_F(UserProperties, AServerThatIsNoDomainControllerIsAskedAboutFirst) {
  m_window->serverCombo()->addItem("\\\\FILES");
  m_window->serverCombo()->setCurrentText("\\\\FILES");
  select({"alice", "bob"});
  m_window->command(kIdPropertiesCyclic);  // No, the default
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].caption, "Warning!");
  EXPECT_EQ(m_messages->shown()[0].buttons, ui::Buttons::YesNo);
  EXPECT_TRUE(m_dialogs->shown().empty()) << "a No stops the whole round";

  m_messages->clear();
  m_messages->queueAnswer(ui::Answer::Yes);
  m_window->command(kIdPropertiesCombined);
  ASSERT_EQ(m_dialogs->shown().size(), 1u);
  EXPECT_EQ(m_dialogs->shown()[0].title, "Multiple User change");
}

TEST_F(UserProperties, EditorButtonsOpenLocalFilesOrNameTheProgramThatCouldNotStart) {
  auto fields = users::loadSingleUser("\\\\PDC", "alice");
  ASSERT_TRUE(fields);
  ui::ScriptedProgramStarter programs;
  CUserProperties dialog({"\\\\PDC", false}, *fields, *m_messages, programs, *m_dialogs);
  // NT 4: the policy editor, which this machine does not have.
  dialog.profileButton()->click();
  // The script lives in a share, and no share has a local folder yet.
  dialog.scriptButton()->click();
  EXPECT_TRUE(programs.opened().empty());
  ASSERT_EQ(shownTexts().size(), 2u);
  EXPECT_EQ(shownTexts()[0], "Veltrane was unable to start an instance of\nPOLEDIT.EXE possibly "
                             "because the file does not exist,\nor could not be found.");
  EXPECT_EQ(shownTexts()[1].substr(0, 55),
            "Veltrane was unable to start an instance of\nNOTEPAD.EXE");

  // Later systems edit the profile itself: a local one is handed to the
  // desktop, and a handler that cannot start gives the profile editor's
  // message.
  OSVERSIONINFOA later;
  later.dwPlatformId = VER_PLATFORM_WIN32_NT;
  later.dwMajorVersion = 5;
  const std::string local = (std::filesystem::temp_directory_path() / "userprops-profile").string();
  std::ofstream(local) << "profile";
  m_messages->clear();
  users::startEditor(users::profileEditor(later, local), programs, *m_messages);
  EXPECT_EQ(programs.opened(), std::vector<std::string>{local});
  EXPECT_TRUE(m_messages->shown().empty());
  programs.setStarts(false);
  users::startEditor(users::profileEditor(later, local), programs, *m_messages);
  ASSERT_EQ(shownTexts().size(), 1u);
  EXPECT_EQ(shownTexts()[0].substr(0, 54), "Veltrane was unable to start an instance of\nUPEDIT.EXE");
  EXPECT_EQ(users::scriptEditor("\\\\PDC", "logon.cmd").file, "\\\\PDC\\NETLOGON\\logon.cmd");
  std::filesystem::remove(local);
}

}  // namespace
