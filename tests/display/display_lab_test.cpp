// The Users and Groups fills over records that the real workers gathered
// from a small lab.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPixmap>

#include <memory>

#include "display/model_roles.h"
#include "display/result_display.h"
#include "session/display_contents.h"
#include "dlgthreads/group_worker.h"
#include "dlgthreads/user_worker.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "../support/lab_fixture.h"
#include "recording_host.h"

namespace display {
namespace {

// The columns the tests read.
constexpr int kFullName = 1, kDisabled = 5, kDescription = 14;
constexpr int kMember = 2;

constexpr std::string_view kLab = R"({
  "format": 1,
  "localMachine": "PDC",
  "loggedOn": "LAB\\Administrator",
  "domains": [{
    "name": "LAB",
    "sid": "S-1-5-21-7-8-9",
    "pdc": "PDC",
    "users": [
      {"name": "Administrator", "fullName": "Built-in administrator"},
      {"name": "alice", "fullName": "Alice Archer", "comment": "Accounts",
       "flags": ["UF_SCRIPT", "UF_NORMAL_ACCOUNT"]},
      {"name": "bob", "fullName": "Bob Baker",
       "flags": ["UF_SCRIPT", "UF_NORMAL_ACCOUNT", "UF_ACCOUNTDISABLE", "UF_LOCKOUT"]},
      {"name": "carol", "fullName": "Carol Cooper",
       "flags": ["UF_SCRIPT", "UF_NORMAL_ACCOUNT", "UF_LOCKOUT"]}
    ],
    "groups": [
      {"name": "Staff", "comment": "Payroll", "members": ["alice", "bob"]}
    ],
    "localGroups": [
      {"name": "Administrators", "rid": 544, "comment": "Full control",
       "members": ["LAB\\Administrator"]}
    ]
  }],
  "machines": [
    {"name": "PDC", "domain": "LAB",
     "type": ["SV_TYPE_WORKSTATION", "SV_TYPE_SERVER", "SV_TYPE_DOMAIN_CTRL", "SV_TYPE_NT"]}
  ]
})";

// Receives the finished block on the worker's own thread (here: the test's).
class CollectingHost final : public dlgthreads::WorkerHost {
 public:
  void setStatusText(std::string) override {}
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<dlgthreads::WorkerBlock> block) override {
    finished = std::move(block);
  }
  std::shared_ptr<dlgthreads::WorkerBlock> finished;

 private:
  ui::ScriptedMessages m_messages;
};

IconSet markedIcons() {
  display_test::qtApp();
  IconSet icons;
  for (int i = 0; i < kListImageCount; ++i) {
    QPixmap pixmap(2, 2);
    pixmap.fill(QColor::fromHsv(i * 30, 255, 255));
    icons.setIcon(static_cast<ListImage>(i), QIcon(pixmap));
  }
  return icons;
}

class DisplayLabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_lab = lab::test::labFromText(kLab, "display test lab");
    ASSERT_TRUE(m_lab);
    m_backend.serveLab(m_lab);
  }

  // Runs a worker to its end and hands its block to the display, as the
  // window does on its own thread.
  void browse(dlgthreads::WorkKind kind, void (*worker)(std::shared_ptr<dlgthreads::WorkerBlock>)) {
    auto workerHost = std::make_shared<CollectingHost>();
    auto block = std::make_shared<dlgthreads::WorkerBlock>();
    block->kind = kind;
    block->host = workerHost;
    block->state.settings = m_host.settings;
    block->state.selectedServer = "\\\\PDC";
    dlgthreads::ResetWork(kind);
    worker(block);
    ASSERT_TRUE(workerHost->finished);
    m_display.fill(*workerHost->finished);
    // A handed-over block holds its host, which holds the block: let both go.
    workerHost->finished.reset();
  }

  ListImage imageOfRow(const QAbstractItemModel& model, int row) const {
    const QImage got = model.index(row, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(2, 2).toImage();
    for (int i = 0; i < kListImageCount; ++i)
      if (m_icons.icon(static_cast<ListImage>(i)).pixmap(2, 2).toImage() == got)
        return static_cast<ListImage>(i);
    ADD_FAILURE() << "row " << row << " shows no known image";
    return ListImage::Account;
  }

  int rowOf(const QAbstractItemModel& model, const QString& name) const {
    for (int r = 0; r < model.rowCount(); ++r)
      if (model.index(r, 0).data().toString() == name) return r;
    return -1;
  }

  std::shared_ptr<lab::Lab> m_lab;
  lab::test::ServedBackend m_backend;
  display_test::RecordingHost m_host;
  IconSet m_icons = markedIcons();
  ResultDisplay m_display{m_host, m_icons};
};

TEST_F(DisplayLabTest, UsersBrowseFillsRowsIconsHiddenColumnsAndTexts) {
  m_host.settings.u_description = 0;
  m_display.setUpColumns(DisplayType::Users);
  browse(dlgthreads::WorkKind::Users, dlgthreads::gatherUsers);

  const QAbstractItemModel& model = *m_host.listView(DisplayType::Users)->model();
  ASSERT_EQ(model.rowCount(), 4);
  struct Expect {
    const char* name;
    ListImage image;
  };
  for (const Expect& e : {Expect{"alice", ListImage::Account}, Expect{"bob", ListImage::Disabled},
                          Expect{"carol", ListImage::LockedOut}}) {
    const int row = rowOf(model, e.name);
    ASSERT_GE(row, 0) << e.name;
    EXPECT_EQ(imageOfRow(model, row), e.image) << e.name;
    EXPECT_EQ(model.index(row, kDisabled).data().toString(),
              e.image == ListImage::Disabled ? "Yes" : "No");
  }
  const int alice = rowOf(model, "alice");
  EXPECT_EQ(model.index(alice, kFullName).data().toString(), "Alice Archer");
  // The description column is hidden in place; its cell still holds the text.
  EXPECT_TRUE(m_host.listView(DisplayType::Users)->horizontalHeader()->isSectionHidden(
      kDescription));
  for (int row = 0; row < model.rowCount(); ++row)
    EXPECT_EQ(model.index(row, 0).data(kTagRole).toUInt(), 1u);

  const DisplayTexts expected{"LAB\\\\PDC", "4"};
  EXPECT_EQ(m_host.displayTexts(DisplayType::Users), expected);
  EXPECT_EQ(m_host.status, expected);
  EXPECT_EQ(m_host.endBusyCalls, 1);
}

TEST_F(DisplayLabTest, GroupsBrowseWithAndWithoutMembers) {
  m_host.current = DisplayType::Groups;
  browse(dlgthreads::WorkKind::Groups, dlgthreads::gatherGroups);
  const QAbstractItemModel& model = *m_host.listView(DisplayType::Groups)->model();
  ASSERT_EQ(model.rowCount(), 2);  // members off: one line per group
  EXPECT_EQ(imageOfRow(model, rowOf(model, "Administrators")), ListImage::LocalGroup);
  EXPECT_EQ(imageOfRow(model, rowOf(model, "Staff")), ListImage::GlobalGroup);
  EXPECT_EQ(m_host.status, (DisplayTexts{"LAB\\\\PDC", "2"}));

  m_host.settings.g_show_members = 1;
  browse(dlgthreads::WorkKind::Groups, dlgthreads::gatherGroups);
  ASSERT_EQ(model.rowCount(), 5);
  int members = 0;
  for (int r = 0; r < model.rowCount(); ++r) {
    const QString third = model.index(r, kMember).data().toString();
    if (!third.startsWith("AA")) {
      ++members;
      EXPECT_EQ(imageOfRow(model, r), ListImage::Account) << third.toStdString();
    }
  }
  EXPECT_EQ(members, 3);
  EXPECT_EQ(m_host.status.count, "5");
}

TEST_F(DisplayLabTest, UnreachableServerKeepsTheBareServerText) {
  ASSERT_TRUE(m_lab->setReachable("PDC", false));
  browse(dlgthreads::WorkKind::Users, dlgthreads::gatherUsers);
  EXPECT_EQ(m_host.displayTexts(DisplayType::Users).server, "\\\\PDC");
  EXPECT_EQ(m_host.endBusyCalls, 1);
}

}  // namespace
}  // namespace display
