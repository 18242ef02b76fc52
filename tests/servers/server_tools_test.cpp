// The Tools menu's server commands in the window, against the lab: the
// list of servers to browse (Add, Remove, the Network pop-up's Add), Unhide
// Server, the share manager and the extra server entries.

#include <QComboBox>

#include <set>
#include <QListWidget>
#include <QPushButton>

#include "options/extra_entries_dialog.h"
#include "platform/registry.h"
#include "server_admin_fixture.h"
#include "servers/add_server_dialog.h"
#include "servers/remove_server_dialog.h"
#include "servers/share_edit_dialog.h"
#include "servers/share_manager_dialog.h"
#include "servers/unhide_server_dialog.h"
#include "settings/settings_store.h"
#include "window/command_ids.h"

namespace {

using namespace platform;
using namespace window;
using serverstest::ServerAdminTest;

std::string storedText(std::string_view name) {
  RegKey key;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, settings::kProgramKey, 0, KEY_READ, key.out()) != ERROR_SUCCESS)
    return "<no key>";
  std::vector<std::uint8_t> data(4000);
  DWORD type = 0, size = 0;
  if (RegQueryValueEx(key.get(), name, &type, data, &size) != ERROR_SUCCESS) return "<absent>";
  std::string text(data.begin(), data.begin() + size);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::vector<std::string> comboEntries(QComboBox* combo) {
  std::vector<std::string> out;
  for (int i = 0; i < combo->count(); ++i) out.push_back(combo->itemText(i).toStdString());
  return out;
}

class ServerTools : public ServerAdminTest {
 protected:
  void SetUp() override {
    ServerAdminTest::SetUp();
    ASSERT_TRUE(makeWindow());
  }
  void addByDialog(const std::string& typed) {
    m_dialogs->queueStep([typed](QDialog& d) {
      auto& add = dynamic_cast<servers::AddServerDialog&>(d);
      add.nameEdit()->setText(QString::fromStdString(typed));
      return int(QDialog::Accepted);
    });
    m_window->command(kIdAddServer);
  }
};

std::multiset<std::string> sortedSet(const std::vector<std::string>& names) {
  return {names.begin(), names.end()};
}

// The server list is shown sorted: sorting it again changes nothing.
bool shownSorted(QComboBox* combo) {
  const std::vector<std::string> before = comboEntries(combo);
  combo->model()->sort(0);
  return comboEntries(combo) == before;
}

TEST_F(ServerTools, TheBrowseListGrowsUntilItWouldLoseANameAndThePdcNeverLeaves) {
  QComboBox* combo = m_window->serverCombo();
  ASSERT_EQ(comboEntries(combo), (std::vector<std::string>{"\\\\CORPDC"}));
  addByDialog("files");  // upper case, backslashes or not
  EXPECT_EQ(sortedSet(comboEntries(combo)), sortedSet({"\\\\CORPDC", "FILES"}));
  EXPECT_TRUE(shownSorted(combo));
  EXPECT_EQ(storedText("BrowseServers"), "\\\\CORPDC\nFILES\n");
  EXPECT_EQ(m_dialogs->shown().back().title, "Add server to browse list");

  // Filled to the brim: the next name is refused with a message, none lost.
  std::vector<std::string> many = comboEntries(combo);
  for (int i = 0; settings::browseListFits(many); ++i) many.push_back("\\\\SERVER" + std::to_string(i));
  many.pop_back();
  m_window->setServerList(many, 0);
  EXPECT_TRUE(shownSorted(combo));
  EXPECT_EQ(combo->currentText().toStdString(), many[0]) << "the chosen server stays chosen";
  const std::vector<std::string> shown = comboEntries(combo);
  EXPECT_EQ(sortedSet(shown), sortedSet(many));
  addByDialog("\\\\ONEMORE");
  EXPECT_EQ(comboEntries(combo), shown);
  ASSERT_FALSE(m_messages->shown().empty());
  EXPECT_NE(m_messages->shown().back().text.find("full"), std::string::npos);
  EXPECT_EQ(settings::splitBrowseList(storedText("BrowseServers")), many);

  // Remove holds every entry; the PDC (in any case) stays; OK saves the rest.
  m_dialogs->queueStep([&](QDialog& d) {
    auto& remove = dynamic_cast<servers::RemoveServerDialog&>(d);
    EXPECT_EQ(remove.list()->count(), static_cast<int>(many.size()));
    EXPECT_FALSE(remove.removeButton()->isEnabled());
    // Every entry but the PDC, wherever the sorted list shows it.
    for (int row = remove.list()->count() - 1; row >= 0; --row) {
      if (remove.list()->item(row)->text() == "\\\\CORPDC") continue;
      remove.list()->setCurrentRow(row);
      remove.removeSelected();
    }
    EXPECT_EQ(remove.list()->count(), 1);
    remove.list()->setCurrentRow(0);
    EXPECT_TRUE(remove.removeButton()->isEnabled());
    remove.removeSelected();
    remove.accept();
    return int(QDialog::Accepted);
  });
  m_messages->clear();
  m_window->command(kIdRemoveServer);
  EXPECT_EQ(comboEntries(combo), (std::vector<std::string>{"\\\\CORPDC"}));
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_EQ(storedText("BrowseServers"), "\\\\CORPDC\n");
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text, "The PDC cannot be removed from\nthe list of server to browse.");
}

TEST_F(ServerTools, UnhideServerMakesAHiddenServerVisibleAndSaysSo) {
  ASSERT_EQ(NetServerSetInfo("FILES", 1016, SERVER_INFO_1016{1}, nullptr), NERR_Success);
  m_dialogs->queueStep([&](QDialog& d) {
    auto& unhide = dynamic_cast<servers::UnhideServerDialog&>(d);
    // No name is asked for, not taken as this machine's own.
    unhide.accept();
    EXPECT_NE(unhide.result(), QDialog::Accepted);
    EXPECT_EQ(m_messages->shown().size(), 1u);
    if (!m_messages->shown().empty()) {
      EXPECT_EQ(m_messages->shown()[0].text, "Please enter the name of the server to unhide.");
    }
    m_messages->clear();
    unhide.nameEdit()->setText("\\\\FILES");
    unhide.accept();
    return unhide.result();
  });
  m_window->command(kIdUnhideServer);
  EXPECT_EQ(serverInfo("FILES").sv102_hidden, 0u);
  ASSERT_EQ(m_messages->shown().size(), 2u);
  EXPECT_EQ(m_messages->shown()[0].text, "\\\\FILES");
  EXPECT_EQ(m_messages->shown()[0].caption, "Unhiding");
  EXPECT_EQ(m_messages->shown()[1].text, "Successful unhide of server.\n");
  EXPECT_EQ(m_messages->shown()[1].caption, "Veltrane");

  m_messages->clear();
  servers::UnhideServerDialog gone(*m_messages);
  gone.nameEdit()->setText("\\\\GONE");
  gone.accept();
  EXPECT_EQ(m_messages->shown().back().text, "Failed to unhide server.\n");
  EXPECT_EQ(m_messages->shown().back().icon, ui::Icon::Error);
}

TEST_F(ServerTools, TheShareManagerAddsEditsAndStopsSharesOnTheBrowseServer) {
  m_window->setServerList({"\\\\FILES"}, 0);
  m_dialogs->queueStep([&](QDialog& d) {
    auto& manager = dynamic_cast<servers::ShareManagerDialog&>(d);
    EXPECT_EQ(column(manager.list(), 0),
              (std::vector<std::string>{"IPC$", "ADMIN$", "C$", "DATA", "LASER"}));
    EXPECT_EQ(column(manager.list(), 3)[3], "10");
    manager.newShare();  // a refused path first: the message names it, nothing is made
    manager.newShare();
    manager.list()->setCurrentItem(manager.list()->topLevelItem(3));
    manager.editSelected();
    manager.list()->setCurrentItem(manager.list()->topLevelItem(4));
    m_messages->queueAnswer(ui::Answer::Yes);
    manager.stopSharing();
    return int(QDialog::Accepted);
  });
  auto fillNew = [](std::string name, std::string path) {
    return [name, path](QDialog& d) {
      auto& edit = dynamic_cast<servers::ShareEditDialog&>(d);
      edit.nameEdit()->setText(QString::fromStdString(name));
      edit.pathEdit()->setText(QString::fromStdString(path));
      edit.remarkEdit()->setText("Tools for all");
      edit.unlimitedBox()->setChecked(false);
      edit.usersEdit()->setText("5");
      edit.accept();
      return edit.result();
    };
  };
  m_dialogs->queueStep(fillNew("TOOLS", "Tools"));
  m_dialogs->queueStep(fillNew("TOOLS", "D:\\Tools"));
  m_dialogs->queueStep([](QDialog& d) {
    auto& edit = dynamic_cast<servers::ShareEditDialog&>(d);
    EXPECT_FALSE(edit.nameEdit()->isEnabled());
    edit.pathEdit()->setText("E:\\Data");
    edit.remarkEdit()->setText("Moved");
    edit.unlimitedBox()->setChecked(true);
    edit.accept();
    return edit.result();
  });
  m_window->command(kIdManageShares);

  ASSERT_EQ(m_messages->shown().size(), 2u);
  EXPECT_NE(m_messages->shown()[0].text.find("Error number : 87"), std::string::npos);
  EXPECT_NE(m_messages->shown()[0].text.find("the path"), std::string::npos);
  NetBuffer buf;
  ASSERT_EQ(NetShareGetInfo("FILES", "TOOLS", 2, buf), NERR_Success);
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_path, "D:\\Tools");
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_max_uses, 5u);
  ASSERT_EQ(NetShareGetInfo("FILES", "DATA", 2, buf), NERR_Success);
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_path, "E:\\Data");
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_remark, "Moved");
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_max_uses, SHI_USES_UNLIMITED);
  EXPECT_EQ(NetShareGetInfo("FILES", "LASER", 1, buf), NERR_NetNameNotFound);

  // A plain user is told the shares cannot be read; nothing opens.
  m_lab->logOn("CORP\\bob");
  m_messages->clear();
  const auto shownBefore = m_dialogs->shown().size();
  m_window->command(kIdManageShares);
  EXPECT_EQ(m_dialogs->shown().size(), shownBefore);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_NE(m_messages->shown()[0].text.find("Error number : 5"), std::string::npos);
}

// A new share the dialog or the server refuses keeps its dialog open with
// what was typed, and the message says why.
TEST_F(ServerTools, ARefusedNewShareKeepsItsDialogOpenWithWhatWasTyped) {
  m_window->setServerList({"\\\\FILES"}, 0);
  m_dialogs->queueStep([&](QDialog& d) {
    dynamic_cast<servers::ShareManagerDialog&>(d).newShare();
    return int(QDialog::Accepted);
  });
  m_dialogs->queueStep([&](QDialog& d) {
    auto& edit = dynamic_cast<servers::ShareEditDialog&>(d);
    edit.nameEdit()->setText("DATA");
    edit.pathEdit()->setText("D:\\Other");
    edit.remarkEdit()->setText("Second data");
    edit.unlimitedBox()->setChecked(false);
    edit.usersEdit()->setText("99999999999");
    edit.accept();
    EXPECT_EQ(m_messages->shown().back().text,
              "Please enter a user limit between 1 and 4294967294, or choose Maximum allowed.");
    edit.usersEdit()->setText("3");
    edit.accept();  // the name is taken
    EXPECT_NE(edit.result(), QDialog::Accepted);
    const std::string refusal = m_messages->shown().back().text;
    EXPECT_NE(refusal.find("Error number : 2118"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("a share of that name"), std::string::npos) << refusal;
    EXPECT_EQ(edit.remarkEdit()->text(), "Second data");
    EXPECT_EQ(edit.pathEdit()->text(), "D:\\Other");
    edit.nameEdit()->setText("DATA2");
    edit.accept();
    return edit.result();
  });
  m_window->command(kIdManageShares);
  NetBuffer buf;
  ASSERT_EQ(NetShareGetInfo("FILES", "DATA2", 2, buf), NERR_Success);
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_path, "D:\\Other");
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_max_uses, 3u);
}

TEST_F(ServerTools, ExtraEntriesAreKeptUpTo599CharactersAndReadBack) {
  {
    settings::pages::ExtraEntriesDialog dialog(*m_messages);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(dialog.entryEdit(i)->text().isEmpty());
    dialog.entryEdit(0)->setText("SOFTWARE\\Lab\\Owner");
    dialog.entryEdit(4)->insert(QString(700, 'x'));  // typed: the edit stops at 599
    dialog.accept();
  }
  EXPECT_EQ(storedText("s_xtra1"), "SOFTWARE\\Lab\\Owner");
  EXPECT_EQ(storedText("s_xtra5"), std::string(599, 'x'));
  EXPECT_EQ(storedText("s_xtra2"), "");
  settings::pages::ExtraEntriesDialog again(*m_messages);
  EXPECT_EQ(again.entryEdit(4)->text().size(), 599);
  EXPECT_EQ(again.entryEdit(0)->text(), "SOFTWARE\\Lab\\Owner");
  EXPECT_TRUE(m_messages->shown().empty());
}

}  // namespace
