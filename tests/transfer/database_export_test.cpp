#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <array>

#include "transfer/database_export.h"
#include "transfer/export_display.h"
#include "transfer_test_support.h"

namespace transfer {
namespace {

using display::DisplayType;
using namespace transfer_test;

// A database file opened for reading back, on a connection of its own.
class ReadBack {
 public:
  explicit ReadBack(const std::string& path)
      : m_name(QUuid::createUuid().toString()) {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", m_name);
    db.setDatabaseName(QString::fromStdString(path));
    m_open = db.open();
  }
  ~ReadBack() {
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
  }
  bool open() const { return m_open; }

  QStringList tables() const { return QSqlDatabase::database(m_name).tables(); }
  QStringList fields(const QString& table) const {
    QStringList names;
    const QSqlRecord record = QSqlDatabase::database(m_name).record(table);
    for (int i = 0; i < record.count(); ++i) names << record.fieldName(i);
    return names;
  }
  // Every record, in the order stored, each field as text.
  std::vector<QStringList> rows(const QString& table) const {
    std::vector<QStringList> result;
    QSqlQuery query(QSqlDatabase::database(m_name));
    query.exec("SELECT * FROM \"" + table + "\" ORDER BY rowid");
    while (query.next()) {
      QStringList row;
      for (int i = 0; i < query.record().count(); ++i) row << query.value(i).toString();
      result.push_back(row);
    }
    return result;
  }

 private:
  QString m_name;
  bool m_open = false;
};

class DatabaseExportTest : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }
  ExportResult exportCurrent(const std::string& file) {
    return exportDisplay(exportSourceOf(m_host), file, ExportFormat::Database);
  }

  display_test::RecordingHost m_host;
  QTemporaryDir m_dir;
};

TEST_F(DatabaseExportTest, UsersTableHasEveryColumnAsFieldAndNoneForEmptyCells) {
  m_host.current = DisplayType::Users;
  auto shown = showUsers(m_host, {{"alice"}, {"bob", "Yes"}});
  shown.content->list().setRowOrder({1, 0});
  shown.model->reset();
  QTableView* view = m_host.listView(DisplayType::Users);
  for (int c : {1, 4, 19, 20, 21}) view->setColumnHidden(c, true);

  ASSERT_TRUE(exportCurrent(path("users.db")).ok());
  ReadBack db(path("users.db"));
  ASSERT_TRUE(db.open());
  EXPECT_EQ(db.tables(), QStringList{"Exp_Users"});
  const QStringList fields = db.fields("Exp_Users");
  ASSERT_EQ(fields.size(), display::kUsersColumnCount);
  EXPECT_EQ(fields[0], "UserName");
  EXPECT_EQ(fields[1], "Full Name");
  EXPECT_EQ(fields[4], "Acct_Expires");
  EXPECT_EQ(fields[7], "Max_Stg_");
  EXPECT_EQ(fields[21], "RAS type");

  const auto rows = db.rows("Exp_Users");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "bob");
  EXPECT_EQ(rows[0][1], "bob Full");       // hidden in the list, stored all the same
  EXPECT_EQ(rows[0][5], "Yes");            // Disabled
  EXPECT_EQ(rows[0][14], "*NONE*");        // empty Description
  EXPECT_EQ(rows[0][21], "User defined");  // hidden RAS type
  EXPECT_EQ(rows[1][0], "alice");
}

TEST_F(DatabaseExportTest, EmptyListGivesAnEmptyTable) {
  m_host.current = DisplayType::Groups;
  showGroups(m_host, {});
  ASSERT_TRUE(exportCurrent(path("empty.db")).ok());
  ReadBack db(path("empty.db"));
  EXPECT_EQ(db.fields("Exp_Groups"), (QStringList{"GroupName", "Comment", "UserName"}));
  EXPECT_TRUE(db.rows("Exp_Groups").empty());
}

TEST_F(DatabaseExportTest, OverwritingReplacesTheWholeFile) {
  m_host.current = DisplayType::Users;
  showUsers(m_host, {{"alice"}});
  ASSERT_TRUE(exportCurrent(path("out.db")).ok());
  m_host.current = DisplayType::Groups;
  showGroups(m_host, kGroups);
  ASSERT_TRUE(exportCurrent(path("out.db")).ok());

  ReadBack db(path("out.db"));
  EXPECT_EQ(db.tables(), QStringList{"Exp_Groups"});
  const auto rows = db.rows("Exp_Groups");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2], (QStringList{"Domain Users", "All users, everyone", "AAGROUP_CONTAINER"}));
  EXPECT_EQ(filesIn(m_dir), QStringList{"out.db"});
}

TEST_F(DatabaseExportTest, FailedExportLeavesTheOldFileAsItWas) {
  // Two titles that name the same field: the engine refuses the table.
  static constexpr std::array<display::ColumnSpec, 2> kClashing = {
      display::ColumnSpec{"Acct.Expires", 50}, display::ColumnSpec{"Acct_Expires", 50}};
  QTableView* view = m_host.listView(DisplayType::Trusts);
  display_test::ContentModel<session::TextContent> shown({}, view);
  session::TextRow row;
  row.cells = {"a", "b"};
  shown.content->setRows(kClashing, {row});
  shown.model->reset();
  view->setModel(shown.model);
  m_host.current = DisplayType::Trusts;
  writeFile(path("keep.db"), "the old export");

  const ExportResult result = exportCurrent(path("keep.db"));
  EXPECT_EQ(result.error, ExportError::DatabaseFailed);
  EXPECT_NE(result.detail.find("Exp_Trusts"), std::string::npos) << result.detail;
  EXPECT_EQ(readFile(path("keep.db")), "the old export");
  EXPECT_EQ(filesIn(m_dir), QStringList{"keep.db"});
}

TEST_F(DatabaseExportTest, NetworkIsRefusedAndNothingIsWritten) {
  m_host.current = DisplayType::Network;
  const ExportResult result = exportCurrent(path("net.db"));
  EXPECT_EQ(result.error, ExportError::NotSupported);
  EXPECT_TRUE(filesIn(m_dir).isEmpty());
}

TEST_F(DatabaseExportTest, MissingFolderIsCannotCreateFile) {
  m_host.current = DisplayType::Groups;
  showGroups(m_host, kGroups);
  EXPECT_EQ(exportCurrent(path("missing/out.db")).error, ExportError::CannotCreateFile);
}

}  // namespace
}  // namespace transfer
