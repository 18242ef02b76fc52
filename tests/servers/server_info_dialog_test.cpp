// The server information dialog against the lab: what it shows, what OK
// writes (each setting on its own, failures named by their status or
// parameter), and the disconnects with their refresh.

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>

#include "server_admin_fixture.h"
#include "servers/server_info_dialog.h"

namespace {

using namespace platform;
using servers::ServerInfoDialog;
using serverstest::ServerAdminTest;

TEST_F(ServerAdminTest, ServerInformationShowsTheServerItsSessionsAndOpenFiles) {
  ServerInfoDialog dialog("\\\\FILES", *m_messages);
  ASSERT_TRUE(dialog.load());
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Server information for \\\\FILES");
  EXPECT_EQ(dialog.descriptionEdit()->text(), "File server");
  EXPECT_EQ(dialog.typeLabel()->text(), "Workstation");  // the last bit that matches stands
  EXPECT_EQ(dialog.maxUsersEdit()->text(), "25");
  EXPECT_FALSE(dialog.autoDisconnectBox()->isChecked());  // never disconnects
  EXPECT_TRUE(dialog.disconnectEdit()->isHidden());
  EXPECT_EQ(dialog.userPathEdit()->text(), "D:\\Users");
  EXPECT_EQ(dialog.rateEdit()->text(), "120");
  EXPECT_EQ(dialog.deltaEdit()->text(), "2000");
  EXPECT_FALSE(dialog.timeServerBox()->isEnabled());
  EXPECT_EQ(dialog.tabs()->count(), 1);
  EXPECT_EQ(column(dialog.sessionsList(), 0), (std::vector<std::string>{"alice", "bob", "alice"}));
  EXPECT_EQ(column(dialog.sessionsList(), 2), (std::vector<std::string>{"2", "1", "0"}));
  EXPECT_EQ(column(dialog.sessionsList(), 3), (std::vector<std::string>{"0:09", "1:05", "10:00"}));
  EXPECT_EQ(column(dialog.sessionsList(), 4), (std::vector<std::string>{"60:00", "10:00", "0:00"}));
  EXPECT_EQ(column(dialog.sessionsList(), 5), (std::vector<std::string>{"No", "Yes", "No"}));
  // Every column is at least as wide as its title ("Connected users:").
  for (QTreeWidget* list : {dialog.sessionsList(), dialog.filesList()}) {
    const QFontMetrics font = list->header()->fontMetrics();
    for (int c = 0; c < list->columnCount(); ++c)
      EXPECT_GE(list->columnWidth(c), font.horizontalAdvance(list->headerItem()->text(c)))
          << list->headerItem()->text(c).toStdString();
  }
  EXPECT_EQ(column(dialog.filesList(), 1), (std::vector<std::string>{"Create", "Read", "Write"}));
  EXPECT_EQ(column(dialog.filesList(), 2), (std::vector<std::string>{"2", "0", "0"}));
  EXPECT_EQ(column(dialog.filesList(), 3)[0], "D:\\Data\\plan.doc");
  EXPECT_FALSE(dialog.disconnectButton()->isEnabled());

  // The controller shows its role; checking Hidden warns, clearing it does not.
  ServerInfoDialog dc("\\\\CORPDC", *m_messages);
  ASSERT_TRUE(dc.load());
  EXPECT_EQ(dc.typeLabel()->text(), "Primary domain controller");
  EXPECT_TRUE(dc.timeServerBox()->isChecked());
  dc.hiddenBox()->click();
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].caption, "***WARNING***");
  EXPECT_TRUE(m_messages->shown()[0].text.starts_with("If you choose to hide the server, NO conventional \n"));
  dc.hiddenBox()->click();
  EXPECT_EQ(m_messages->shown().size(), 1u);
}

TEST_F(ServerAdminTest, OkWritesEverySettingAndReportsEachFailureByItself) {
  ServerInfoDialog dialog("\\\\FILES", *m_messages);
  ASSERT_TRUE(dialog.load());
  dialog.descriptionEdit()->setText("Files of the firm");
  dialog.autoDisconnectBox()->click();
  EXPECT_FALSE(dialog.disconnectEdit()->isHidden());
  dialog.disconnectEdit()->setText("20");
  dialog.rateEdit()->setText("0");  // out of range: the server names the parameter
  dialog.deltaEdit()->setText("500");
  dialog.accept();
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text, "Error #17.");
  EXPECT_EQ(m_messages->shown()[0].caption, "Error updating server ANNOUNCE RATE.");
  const SERVER_INFO_102 after = serverInfo("FILES");
  EXPECT_EQ(after.sv102_comment, "Files of the firm");
  EXPECT_EQ(after.sv102_disc, 20);
  EXPECT_EQ(after.sv102_announce, 120u);
  EXPECT_EQ(after.sv102_anndelta, 500u);

  // A refusal shows its status, not a parameter index of 0.
  m_messages->clear();
  ServerInfoDialog again("\\\\FILES", *m_messages);
  ASSERT_TRUE(again.load());
  EXPECT_TRUE(again.autoDisconnectBox()->isChecked());
  ASSERT_TRUE(m_lab->refuseOperation("FILES", "NetServerSetInfo", ERROR_ACCESS_DENIED));
  again.accept();
  ASSERT_EQ(m_messages->shown().size(), 6u);
  for (const auto& m : m_messages->shown()) EXPECT_EQ(m.text, "Error #5.");
  EXPECT_EQ(m_messages->shown()[5].caption, "Error updating server AUTO DISCONNECT.");
}

TEST_F(ServerAdminTest, OpeningFailsWithItsMessageForAPlainUserOrAMissingServer) {
  m_lab->logOn("CORP\\bob");
  ServerInfoDialog plain("\\\\FILES", *m_messages);
  EXPECT_FALSE(plain.load());
  ServerInfoDialog none("", *m_messages);
  EXPECT_FALSE(none.load());
  ASSERT_EQ(m_messages->shown().size(), 2u);
  EXPECT_EQ(m_messages->shown()[0].text,
            "An error occurred while retrieving server information.\nCheck the rights on the server, or the Domain Trusts.");
  EXPECT_EQ(m_messages->shown()[1].text,
            "An error has occurred:\nAttempt to view an invalid servername\nor missing servername.");
}

TEST_F(ServerAdminTest, SessionsReadOnePerPageAllShowAndDisconnectsRefreshTheDialog) {
  m_bent->onePerPage = true;
  ServerInfoDialog dialog("\\\\FILES", *m_messages);
  ASSERT_TRUE(dialog.load());
  EXPECT_EQ(m_bent->sessionPages, 3);
  ASSERT_EQ(dialog.sessionsList()->topLevelItemCount(), 3);

  // No: nothing ends, but the dialog reads the server again and unsaved edits go.
  dialog.descriptionEdit()->setText("unsaved");
  dialog.sessionsList()->setCurrentItem(dialog.sessionsList()->topLevelItem(1));
  m_messages->queueAnswer(ui::Answer::No);
  dialog.disconnectSelected();
  EXPECT_EQ(dialog.descriptionEdit()->text(), "File server");
  EXPECT_EQ(dialog.sessionsList()->topLevelItemCount(), 3);

  // Yes on bob: his session and his file go.
  dialog.sessionsList()->setCurrentItem(dialog.sessionsList()->topLevelItem(1));
  m_messages->queueAnswer(ui::Answer::Yes);
  dialog.disconnectSelected();
  EXPECT_EQ(column(dialog.sessionsList(), 0), (std::vector<std::string>{"alice", "alice"}));
  EXPECT_EQ(column(dialog.filesList(), 0), (std::vector<std::string>{"alice", "alice"}));
  EXPECT_EQ(dialog.tabs()->count(), 1);

  // A server that refuses the one-call form still has every session ended.
  m_bent->refuseDisconnectAll = true;
  m_messages->clear();
  m_messages->queueAnswer(ui::Answer::Yes);
  dialog.disconnectAllSessions();
  EXPECT_EQ(dialog.sessionsList()->topLevelItemCount(), 0);
  EXPECT_EQ(dialog.filesList()->topLevelItemCount(), 0);
  ASSERT_EQ(m_messages->shown().size(), 1u);  // the question only
  EXPECT_EQ(m_messages->shown()[0].caption, "Warning");
  EXPECT_EQ(m_messages->shown()[0].defaultAnswer, ui::Answer::No);
  EXPECT_EQ(m_lab->toJson().find("\"sessions\""), std::string::npos);
}

}  // namespace
