#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QPixmap>

#include "display/group_table_model.h"
#include "display/server_table_model.h"
#include "display/text_table_model.h"
#include "display/user_table_model.h"
#include "qt_app.h"
#include "record_builders.h"

namespace display {
namespace {

using display_test::GroupLine;
using display_test::UserRow;

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

TEST_F(ModelsTest, EveryModelPassesTheModelTesterThroughAdoptAndClear) {
  UserTableModel users(m_icons);
  GroupTableModel groups(m_icons);
  ServerTableModel servers(m_icons);
  TextTableModel quotas(columnSpecs(DisplayType::Quotas), m_icons);
  using Mode = QAbstractItemModelTester::FailureReportingMode;
  QAbstractItemModelTester t1(&users, Mode::Fatal);
  QAbstractItemModelTester t2(&groups, Mode::Fatal);
  QAbstractItemModelTester t3(&servers, Mode::Fatal);
  QAbstractItemModelTester t4(&quotas, Mode::Fatal);

  users.adopt(display_test::userHolder({{"alice"}, {"bob", "Yes"}, {"carol"}}));
  groups.adopt(display_test::groupHolder(display_test::kSampleGroups), true);
  dlgthreads::RecordHolder<dlgthreads::ServerRecord> serverHolder;
  serverHolder.allocate(5);
  serverHolder.append()->name = "PDC";
  serverHolder.finish();
  servers.adopt(std::move(serverHolder));
  quotas.setRows({{{"D:\\data", "500", "OK", "0%", "0"}, ListImage::QuotaOk, 0}, {{"E:\\"}, {}, 1}});

  users.setRowOrder({2, 0, 1, 99});  // an invalid index is dropped
  EXPECT_EQ(users.rowCount(), 3);
  EXPECT_EQ(users.recordIndex(0), 2);
  EXPECT_EQ(quotas.index(1, 3).data().toString(), QString());  // missing cell reads ""

  users.clear();
  groups.clear();
  servers.clear();
  quotas.clear();
  EXPECT_EQ(users.rowCount() + groups.rowCount() + servers.rowCount() + quotas.rowCount(), 0);
}

TEST_F(ModelsTest, UserColumnsShowWordsOneToEighteenThenTwentyOnwards) {
  UserTableModel model(m_icons);
  model.adopt(display_test::userHolder({{"alice"}}));
  ASSERT_EQ(model.columnCount(), kUsersColumnCount);
  auto cell = [&](int column) { return model.index(0, column).data().toString().toStdString(); };
  EXPECT_EQ(cell(UserTableModel::UserName), "alice");
  EXPECT_EQ(cell(UserTableModel::Logons), "         3");  // the padded form is kept
  EXPECT_EQ(cell(UserTableModel::Active), "Yes");         // word 18
  EXPECT_EQ(cell(UserTableModel::PwdAge), "Mon Jan  5 10:00:00 1998 ");  // word 20, not the flag
  EXPECT_EQ(cell(UserTableModel::RasType), "User defined");
  EXPECT_EQ(model.headerData(UserTableModel::CallbackNumber, Qt::Horizontal).toString(),
            "Callback#");
  EXPECT_EQ(model.index(0, 0).data(kRecordIndexRole).toLongLong(), 0);
  EXPECT_EQ(model.index(0, 0).data(kTagRole).toUInt(), 1u);
  EXPECT_EQ(model.records()[0].tag, 1u);
  EXPECT_FALSE(model.index(0, 1).data(Qt::DecorationRole).isValid());  // image in column 0 only
}

struct UserImageRow {
  UserRow user;
  ListImage image;
};

class UserImageTest : public ModelsTest, public ::testing::WithParamInterface<UserImageRow> {};

TEST_P(UserImageTest, StateIcon) {
  UserTableModel model(m_icons);
  model.adopt(display_test::userHolder({GetParam().user}));
  EXPECT_TRUE(showsImage(model.index(0, 0).data(Qt::DecorationRole), m_icons, GetParam().image));
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
  UserTableModel model;  // no icons at all
  model.adopt(display_test::userHolder({{"alice", "Yes"}}));
  EXPECT_FALSE(model.index(0, 0).data(Qt::DecorationRole).isValid());
}

TEST_F(ModelsTest, GroupLinesByMarkerAndMembersOnlyWhenShown) {
  GroupTableModel model(m_icons);
  model.adopt(display_test::groupHolder(display_test::kSampleGroups), false);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.recordCount(), 5u);
  for (const auto& r : model.records()) EXPECT_EQ(r.tag, 1u);  // hidden members are tagged too
  EXPECT_TRUE(showsImage(model.index(0, 0).data(Qt::DecorationRole), m_icons, ListImage::LocalGroup));
  EXPECT_TRUE(showsImage(model.index(1, 0).data(Qt::DecorationRole), m_icons, ListImage::GlobalGroup));
  EXPECT_EQ(model.index(1, 2).data().toString(), "AAGROUP_CONTAINER");

  model.adopt(display_test::groupHolder(display_test::kSampleGroups), true);
  ASSERT_EQ(model.rowCount(), 5);
  EXPECT_EQ(model.index(1, 2).data().toString(), "LAB\\alice");
  EXPECT_TRUE(showsImage(model.index(1, 0).data(Qt::DecorationRole), m_icons, ListImage::Account));

  dlgthreads::GroupRecord both;
  both.third = "AAALOCAL_GROUP_CONTAINER AAGROUP_CONTAINER";
  EXPECT_EQ(GroupTableModel::kindOf(both), GroupTableModel::LineKind::GlobalGroup);
}

TEST_F(ModelsTest, GroupErrorLineStaysVisibleWithoutMembers) {
  GroupTableModel model(m_icons);
  std::vector<GroupLine> lines = {{"Users", "", "AAALOCAL_GROUP_CONTAINER"},
                                  {"ERROR : Could not enumerate domain.", "", ""}};
  model.adopt(display_test::groupHolder(lines), false);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.index(1, 0).data().toString(), "ERROR : Could not enumerate domain.");
}

TEST_F(ModelsTest, ServerFlagsAsMarksVersionBeforeBuild) {
  ServerTableModel model(m_icons);
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
  model.adopt(std::move(holder));
  auto cell = [&](int c) { return model.index(0, c).data().toString().toStdString(); };
  EXPECT_EQ(cell(ServerTableModel::FirstFlag), "X");
  EXPECT_EQ(cell(ServerTableModel::FirstFlag + 1), "-");
  EXPECT_EQ(cell(23), "X");
  EXPECT_EQ(model.index(0, 2).data(kRawRole).toUInt(), 1u);
  EXPECT_EQ(cell(ServerTableModel::Version), "4.0");
  EXPECT_EQ(cell(ServerTableModel::Build), "1381");
  EXPECT_EQ(cell(32), "fifth");
  EXPECT_TRUE(showsImage(model.index(0, 0).data(Qt::DecorationRole), m_icons, ListImage::Server));
}

}  // namespace
}  // namespace display
