// The Files lists keep their entries as rows of cell texts: a filter hides
// the rows it drops and tests every row again next time; Find skips hidden
// rows; a new fill shows all of its rows.

#include <gtest/gtest.h>

#include <QTableView>

#include "session/column_data.h"
#include "display/find_filter.h"
#include "content_model.h"
#include "display/model_roles.h"
#include "qt_app.h"

namespace {

using session::TextRow;
using dlgthreads::RecordMatcher;

std::vector<TextRow> rightsDump() {
  std::vector<TextRow> rows;
  for (auto cells :
       std::initializer_list<std::vector<std::string>>{{"D:\\Data", "alice", "Full Control"},
                                                       {"D:\\Data", "bob", "Read"},
                                                       {"D:\\Data\\Sales", "alice", "Change"},
                                                       {"D:\\Data\\Sales", "carol", "Read"}}) {
    TextRow row;
    row.cells = std::move(cells);
    row.value = static_cast<std::int64_t>(rows.size());
    rows.push_back(std::move(row));
  }
  return rows;
}

// The rows the list shows, by their value (the entry's place in the area).
std::vector<int> shownRows(const QTableView& view) {
  std::vector<int> rows;
  for (int r = 0; r < view.model()->rowCount(); ++r)
    if (!view.isRowHidden(r))
      rows.push_back(view.model()->index(r, 0).data(display::kRecordIndexRole).toInt());
  return rows;
}

TEST(FilesFilter, FilterDropsRowsAndFindSkipsThem) {
  display_test::qtApp();
  QTableView view;
  display_test::ContentModel<session::TextContent> shown({}, &view);
  const auto fill = [&] {
    shown.content->setRows(display::columns::kFilesRightsDump, rightsDump());
    shown.model->reset();
  };
  fill();
  view.setModel(shown.model);

  EXPECT_EQ(display::filterList(
                view, RecordMatcher({.text = "ALICE", .entireString = true, .column = 1})),
            2u);
  EXPECT_EQ(shownRows(view), (std::vector<int>{0, 2}));
  // "Read" is only on rows the filter hid.
  EXPECT_EQ(display::findRow(view, RecordMatcher({.text = "read"}), 0), std::nullopt);
  EXPECT_EQ(display::findRow(view, RecordMatcher({.text = "change"}), 0), 1);  // the second row kept

  // The next filter starts from every row again.
  EXPECT_EQ(display::filterList(view, RecordMatcher({.text = "read"})), 2u);
  EXPECT_EQ(shownRows(view), (std::vector<int>{1, 3}));

  // A new fill shows every row it brings.
  fill();
  EXPECT_EQ(shownRows(view), (std::vector<int>{0, 1, 2, 3}));
}

}  // namespace
