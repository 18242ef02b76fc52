#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPixmap>

#include "content_model.h"
#include "qt_app.h"
#include "record_builders.h"

namespace display {
namespace {

using display_test::GroupLine;
using display_test::OwnedContentModel;
using display_test::UserRow;
using session::GroupsContent;
using session::ServersContent;
using session::TextContent;
using session::UsersContent;

// The Users columns by name.
enum UserColumn { UserName = 0, FullName, Logons, Active = 17, PwdAge = 18, CallbackNumber = 20, RasType };

// Distinct one-colour icons, so a test can tell which image a row got.
IconSet colouredIcons() {
  display_test::qtApp();
  IconSet icons;
  for (int i = 0; i < kListImageCount; ++i) {
    QPixmap pixmap(4, 4);
    pixmap.fill(QColor::fromHsv(i * 30, 255, 255));
    icons.setIcon(static_cast<ListImage>(i), QIcon(pixmap));
  }
  return icons;
}

bool showsImage(const QVariant& decoration, const IconSet& icons, ListImage image) {
  if (!decoration.canConvert<QIcon>()) return false;
  const QImage got = decoration.value<QIcon>().pixmap(4, 4).toImage();
  return got == icons.icon(image).pixmap(4, 4).toImage();
}

class ModelsTest : public ::testing::Test {
 protected:
  IconSet m_icons = colouredIcons();
};

TEST_F(ModelsTest, EveryContentModelPassesTheModelTesterThroughAdoptAndClear) {
  OwnedContentModel<UsersContent> users(m_icons);
  OwnedContentModel<GroupsContent> groups(m_icons);
  OwnedContentModel<ServersContent> servers(m_icons);
  OwnedContentModel<TextContent> quotas(m_icons);
  using Mode = QAbstractItemModelTester::FailureReportingMode;
  QAbstractItemModelTester t1(users.model, Mode::Fatal);
  QAbstractItemModelTester t2(groups.model, Mode::Fatal);
  QAbstractItemModelTester t3(servers.model, Mode::Fatal);
  QAbstractItemModelTester t4(quotas.model, Mode::Fatal);

  users.adopt(display_test::userHolder({{"alice"}, {"bob", "Yes"}, {"carol"}}));
  groups.content->adoptRecords(display_test::groupHolder(display_test::kSampleGroups), true);
  groups.model->reset();
  dlgthreads::RecordHolder<dlgthreads::ServerRecord> serverHolder;
  serverHolder.allocate(5);
  serverHolder.append()->name = "PDC";
  serverHolder.finish();
  servers.adopt(std::move(serverHolder));
  quotas.content->setRows(columnSpecs(DisplayType::Quotas),
                          {{{"D:\\data", "500", "OK", "0%", "0"}, ListImage::QuotaOk, 0}, {{"E:\\"}, {}, 1}});
  quotas.model->reset();

  users.content->list().setRowOrder({2, 0, 1, 99});  // an invalid index is dropped
  users.model->reset();
  EXPECT_EQ(users.model->rowCount(), 3);
  EXPECT_EQ(users.model->index(0, 0).data(kRecordIndexRole).toLongLong(), 2);
  EXPECT_EQ(quotas.model->index(1, 3).data().toString(), QString());  // missing cell reads ""

  for (session::DisplayContent* c : std::initializer_list<session::DisplayContent*>{
           users.content.get(), groups.content.get(), servers.content.get(), quotas.content.get()})
    c->clear();
  for (auto* m : {users.model, groups.model, servers.model, quotas.model}) m->reset();
  EXPECT_EQ(users.model->rowCount() + groups.model->rowCount() + servers.model->rowCount() +
                quotas.model->rowCount(),
            0);
}

TEST_F(ModelsTest, UserColumnsShowWordsOneToEighteenThenTwentyOnwards) {
  OwnedContentModel<UsersContent> shown(m_icons);
  shown.adopt(display_test::userHolder({{"alice"}}));
  const ContentTableModel& model = *shown.model;
  ASSERT_EQ(model.columnCount(), kUsersColumnCount);
  auto cell = [&](int column) { return model.index(0, column).data().toString().toStdString(); };
  EXPECT_EQ(cell(UserName), "alice");
  EXPECT_EQ(cell(Logons), "         3");  // the padded form is kept
  EXPECT_EQ(cell(Active), "Yes");         // word 18
  EXPECT_EQ(cell(PwdAge), "Mon Jan  5 10:00:00 1998 ");  // word 20, not the flag
  EXPECT_EQ(cell(RasType), "User defined");
  EXPECT_EQ(model.headerData(CallbackNumber, Qt::Horizontal).toString(),
            "Callback#");
  EXPECT_EQ(model.index(0, 0).data(kRecordIndexRole).toLongLong(), 0);
  EXPECT_EQ(model.index(0, 0).data(kTagRole).toUInt(), 1u);
  EXPECT_EQ(shown.content->list().records()[0].tag, 1u);
  EXPECT_FALSE(model.index(0, 1).data(Qt::DecorationRole).isValid());  // image in column 0 only
}

struct UserImageRow {
  UserRow user;
  ListImage image;
};

class UserImageTest : public ModelsTest, public ::testing::WithParamInterface<UserImageRow> {};

TEST_P(UserImageTest, StateIcon) {
  OwnedContentModel<UsersContent> shown(m_icons);
  shown.adopt(display_test::userHolder({GetParam().user}));
  EXPECT_TRUE(showsImage(shown.model->index(0, 0).data(Qt::DecorationRole), m_icons, GetParam().image));
}

INSTANTIATE_TEST_SUITE_P(
    States, UserImageTest,
    ::testing::Values(UserImageRow{{"a", "No", "No"}, ListImage::Account},
                      UserImageRow{{"b", "Yes", "No"}, ListImage::Disabled},
                      UserImageRow{{"c", "No", "Yes"}, ListImage::LockedOut},
                      UserImageRow{{"d", "Yes", "Yes"}, ListImage::Disabled},
                      // only the exact "Yes" counts
                      UserImageRow{{"e", "yes", "YES"}, ListImage::Account}));

TEST_F(ModelsTest, MissingIconsGiveNoDecoration) {
  OwnedContentModel<UsersContent> shown;  // no icons at all
  shown.adopt(display_test::userHolder({{"alice", "Yes"}}));
  EXPECT_FALSE(shown.model->index(0, 0).data(Qt::DecorationRole).isValid());
}

TEST_F(ModelsTest, GroupLinesByMarkerAndMembersOnlyWhenShown) {
  OwnedContentModel<GroupsContent> shown(m_icons);
  const ContentTableModel& model = *shown.model;
  shown.content->adoptRecords(display_test::groupHolder(display_test::kSampleGroups), false);
  shown.model->reset();
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(shown.content->list().recordCount(), 5u);
  for (const auto& r : shown.content->list().records()) EXPECT_EQ(r.tag, 1u);  // hidden members are tagged too
  EXPECT_TRUE(showsImage(model.index(0, 0).data(Qt::DecorationRole), m_icons, ListImage::LocalGroup));
  EXPECT_TRUE(showsImage(model.index(1, 0).data(Qt::DecorationRole), m_icons, ListImage::GlobalGroup));
  EXPECT_EQ(model.index(1, 2).data().toString(), "AAGROUP_CONTAINER");

  shown.content->adoptRecords(display_test::groupHolder(display_test::kSampleGroups), true);
  shown.model->reset();
  ASSERT_EQ(model.rowCount(), 5);
  EXPECT_EQ(model.index(1, 2).data().toString(), "LAB\\alice");
  EXPECT_TRUE(showsImage(model.index(1, 0).data(Qt::DecorationRole), m_icons, ListImage::Account));

  dlgthreads::GroupRecord both;
  both.third = "AAALOCAL_GROUP_CONTAINER AAGROUP_CONTAINER";
  EXPECT_EQ(GroupsContent::kindOf(both), GroupsContent::LineKind::GlobalGroup);
}

TEST_F(ModelsTest, GroupErrorLineStaysVisibleWithoutMembers) {
  OwnedContentModel<GroupsContent> shown(m_icons);
  const ContentTableModel& model = *shown.model;
  std::vector<GroupLine> lines = {{"Users", "", "AAALOCAL_GROUP_CONTAINER"},
                                  {"ERROR : Could not enumerate domain.", "", ""}};
  shown.content->adoptRecords(display_test::groupHolder(lines), false);
  shown.model->reset();
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.index(1, 0).data().toString(), "ERROR : Could not enumerate domain.");
}

TEST_F(ModelsTest, ServerFlagsAsMarksVersionBeforeBuild) {
  OwnedContentModel<ServersContent> shown(m_icons);
  const ContentTableModel& model = *shown.model;
  dlgthreads::RecordHolder<dlgthreads::ServerRecord> holder;
  holder.allocate(5);
  dlgthreads::ServerRecord& r = *holder.append();
  r.name = "FILES1";
  r.comment = "File server";
  r.typeFlags[0] = 1;   // workstation
  r.typeFlags[21] = 1;  // time source
  r.version = "4.0";
  r.build = "1381";
  r.extra[4] = "fifth";
  holder.finish();
  shown.adopt(std::move(holder));
  auto cell = [&](int c) { return model.index(0, c).data().toString().toStdString(); };
  EXPECT_EQ(cell(ServersContent::kFirstFlag), "X");
  EXPECT_EQ(cell(ServersContent::kFirstFlag + 1), "-");
  EXPECT_EQ(cell(23), "X");
  EXPECT_EQ(model.index(0, 2).data(kRawRole).toUInt(), 1u);
  EXPECT_EQ(cell(ServersContent::kVersion), "4.0");
  EXPECT_EQ(cell(ServersContent::kBuild), "1381");
  EXPECT_EQ(cell(32), "fifth");
  EXPECT_TRUE(showsImage(model.index(0, 0).data(Qt::DecorationRole), m_icons, ListImage::Server));
}

}  // namespace
}  // namespace display
