// Edit > Find and Edit > Filter in the window: both test the record behind
// each row as the list shows it, whatever order the rows are in and
// whatever an earlier filter left.

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

#include "app_test_support.h"
#include "session/display_traits.h"
#include "display/content_table_model.h"
#include "display/search_dialog.h"
#include "session/display_contents.h"
#include "window/command_ids.h"

namespace {

using apptest::waitUntil;
using display::DisplayType;
using display::SearchDialog;
using namespace window;

struct Search {
  QString text;
  int column = -1;  // -1: all columns
  bool fromTop = true;
  bool matchCase = false;
  bool entire = false;
};

class FindFilter : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(makeWindow());
  }

  QTableView* show(DisplayType type) {
    m_window->selectTab(display::traitsOf(type).tab);
    m_window->command(kIdBrowse);
    EXPECT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
    return qobject_cast<QTableView*>(m_window->resultControl(display::traitsOf(type).listControl));
  }

  void run(int command, const Search& s) {
    m_dialogs->queueStep([s](QDialog& d) {
      auto& dialog = dynamic_cast<SearchDialog&>(d);
      dialog.textEdit()->setText(s.text);
      if (dialog.startFromTopBox()) dialog.startFromTopBox()->setChecked(s.fromTop);
      dialog.matchCaseBox()->setChecked(s.matchCase);
      dialog.entireStringBox()->setChecked(s.entire);
      dialog.allColumnsBox()->setChecked(s.column < 0);
      if (s.column >= 0) dialog.columnList()->setCurrentRow(s.column);
      dialog.accept();
      return dialog.result();
    });
    m_window->command(command);
  }

  static std::vector<QString> firstColumn(const QTableView& view) {
    std::vector<QString> names;
    for (int r = 0; r < view.model()->rowCount(); ++r)
      names.push_back(view.model()->index(r, 0).data().toString());
    return names;
  }
  static QString selectedName(const QTableView& view) {
    const QModelIndexList rows = view.selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().data().toString() : QString();
  }
};

TEST_F(FindFilter, FindSelectsTheRowWhoseOwnRecordMatches) {
  QTableView* view = show(DisplayType::Users);
  ASSERT_NE(view, nullptr);
  display::ContentTableModel* model = display::contentModelOf(*view);
  ASSERT_NE(model, nullptr);
  auto& users = static_cast<session::UsersContent&>(model->content());
  ASSERT_EQ(users.list().recordCount(), 3u);
  // Rows no longer in record order, as after a sort: bob, Administrator, alice.
  users.list().setRowOrder({2, 0, 1});
  model->reset();

  // Lower case finds the mixed-case name; the row shown is alice's.
  run(kIdFind, {QStringLiteral("archer")});
  EXPECT_EQ(selectedName(*view), "alice");
  EXPECT_TRUE(m_messages->shown().empty());

  // From the selected last row on, there is nothing further.
  run(kIdFind, {QStringLiteral("archer"), -1, false});
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Search Text was not found."});
  m_messages->clear();

  // Match case, and the entire text of one column.
  run(kIdFind, {QStringLiteral("archer"), -1, true, true});
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Search Text was not found."});
  m_messages->clear();
  run(kIdFind, {QStringLiteral("BOB"), 0, true, false, true});
  EXPECT_EQ(selectedName(*view), "bob");

  // An empty text does nothing at all.
  run(kIdFind, {QString()});
  EXPECT_EQ(selectedName(*view), "bob");
  EXPECT_TRUE(m_messages->shown().empty());
}

TEST_F(FindFilter, SearchOverNoColumnIsRefusedInTheDialog) {
  show(DisplayType::Users);
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<SearchDialog&>(d);
    dialog.textEdit()->setText(QStringLiteral("alice"));
    dialog.allColumnsBox()->setChecked(false);
    EXPECT_FALSE(dialog.columnList()->isHidden());
    EXPECT_EQ(dialog.columnList()->count(), 22);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    return QDialog::Rejected;
  });
  m_window->command(kIdFilter);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text,
            "You must select any or all\nof the columns to search in.");
  EXPECT_EQ(m_messages->shown()[0].caption, "Warning");
}

TEST_F(FindFilter, EachFilterTestsEveryRecordAndCountsItsRows) {
  QTableView* view = show(DisplayType::Users);
  display::ContentTableModel* model = display::contentModelOf(*view);
  static_cast<session::UsersContent&>(model->content()).list().setRowOrder({2, 0, 1});
  model->reset();

  run(kIdFilter, {QStringLiteral("baker")});
  EXPECT_EQ(firstColumn(*view), std::vector<QString>{"bob"});
  EXPECT_EQ(m_window->statusText(3), "1");

  // A second filter starts again from all three records, not from the one
  // row the first left.
  run(kIdFilter, {QStringLiteral("archer")});
  EXPECT_EQ(firstColumn(*view), std::vector<QString>{"alice"});
  EXPECT_EQ(m_window->statusText(3), "1");

  // Find never stops on a record the filter dropped.
  run(kIdFind, {QStringLiteral("baker")});
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Search Text was not found."});

  // A blank text shows every record again.
  run(kIdFilter, {QString()});
  EXPECT_EQ(firstColumn(*view), (std::vector<QString>{"Administrator", "alice", "bob"}));
  EXPECT_EQ(m_window->statusText(3), "3");
}

TEST_F(FindFilter, GroupFilterKeepsEachMatchingLineWithItsOwnRow) {
  m_window->settings().g_show_members = 1;
  QTableView* view = show(DisplayType::Groups);
  const int all = view->model()->rowCount();
  ASSERT_GT(all, 4);

  // Member lines carry their group's name and comment.
  run(kIdFilter, {QStringLiteral("staff"), 0});
  EXPECT_EQ(firstColumn(*view), (std::vector<QString>{"Staff", "Staff", "Staff"}));
  EXPECT_EQ(m_window->statusText(3), "3");
  run(kIdFilter, {QStringLiteral("bob"), 2, true, false, true});
  ASSERT_EQ(view->model()->rowCount(), 1);
  EXPECT_EQ(view->model()->index(0, 2).data().toString(), "bob");
  run(kIdFilter, {QString()});
  EXPECT_EQ(view->model()->rowCount(), all);
}

TEST_F(FindFilter, TreesAndListsWithoutRecordsSaySo) {
  m_window->selectTab(display::traitsOf(DisplayType::Network).tab);
  m_window->command(kIdFind);
  m_window->command(kIdFilter);
  EXPECT_EQ(shownTexts(),
            (std::vector<std::string>{"Tree views cannot currently be searched or filtered.",
                                      "Tree views cannot currently be searched or filtered."}));
  EXPECT_TRUE(m_dialogs->shown().empty());
}

}  // namespace
