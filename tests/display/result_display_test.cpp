#include <gtest/gtest.h>

#include <QHeaderView>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTableView>

#include "display/full_text_tool_tips.h"
#include "display/content_table_model.h"
#include "display/result_display.h"
#include "record_builders.h"
#include "recording_host.h"

namespace display {
namespace {

using dlgthreads::WorkerBlock;
using dlgthreads::WorkKind;

constexpr std::string_view kCannotBrowse =
    "The specified server could not be browsed\nfor the type of information requested.\n "
    "Either choose another server, or change\nthe information type.";

class ResultDisplayTest : public ::testing::Test {
 protected:
  QHeaderView* header(DisplayType type) { return m_host.listView(type)->horizontalHeader(); }
  // A width of the settings as the list's font shows it.
  int shown(DisplayType type, int width) {
    return scaledColumnWidth(width, m_host.listView(type)->fontMetrics().averageCharWidth());
  }

  WorkerBlock& block(WorkKind kind) {
    m_block.kind = kind;
    m_block.state.selectedServer = "\\\\PDC";
    return m_block;
  }

  display_test::RecordingHost m_host;
  ResultDisplay m_display{m_host, IconSet{}};
  WorkerBlock m_block;
};

TEST_F(ResultDisplayTest, SetUpHidesOffColumnsInPlaceAndSetsWidths) {
  m_host.settings.u_ras_allow = 0;
  m_display.setUpColumns(DisplayType::Users);
  QHeaderView* h = header(DisplayType::Users);
  ASSERT_EQ(h->count(), kUsersColumnCount);
  EXPECT_EQ(h->sectionSize(0), shown(DisplayType::Users, 100));
  EXPECT_EQ(h->sectionSize(1), shown(DisplayType::Users, 200));
  for (int c : {19, 20, 21}) EXPECT_TRUE(h->isSectionHidden(c)) << c;
  EXPECT_FALSE(h->isSectionHidden(18));
  EXPECT_EQ(m_host.listView(DisplayType::Users)->model()->headerData(20, Qt::Horizontal),
            "Callback#");
  EXPECT_TRUE(m_display.columnsSetUp(DisplayType::Users));
}

TEST_F(ResultDisplayTest, UserResizingSurvivesUntilShowColumns) {
  m_display.setUpColumns(DisplayType::Groups);
  QHeaderView* h = header(DisplayType::Groups);
  h->resizeSection(0, 333);
  m_host.settings.g_comments = 0;
  m_display.setUpColumns(DisplayType::Groups);  // flag set: left alone
  EXPECT_EQ(h->sectionSize(0), 333);
  EXPECT_FALSE(h->isSectionHidden(1));

  m_display.requestColumnReset(DisplayType::Groups);
  EXPECT_FALSE(m_display.columnsSetUp(DisplayType::Groups));
  m_display.setUpColumns(DisplayType::Groups);
  EXPECT_EQ(h->sectionSize(0), shown(DisplayType::Groups, 120));
  EXPECT_TRUE(h->isSectionHidden(1));
  EXPECT_EQ(h->count(), kGroupsColumnCount);  // never inserted twice
}

TEST_F(ResultDisplayTest, ResetRequestIsConsumedByTheNextSetUpOfAnyType) {
  m_display.setUpColumns(DisplayType::Files);
  header(DisplayType::Files)->resizeSection(0, 300);
  m_display.requestColumnReset(DisplayType::Files);
  EXPECT_TRUE(m_display.columnsSetUp(DisplayType::Files));  // Files keeps its flag
  m_display.setUpColumns(DisplayType::Users);               // uses up the request
  m_display.setUpColumns(DisplayType::Files);
  EXPECT_EQ(header(DisplayType::Files)->sectionSize(0), 300);

  m_display.requestColumnReset(DisplayType::Files);
  m_display.setUpColumns(DisplayType::Files);
  EXPECT_EQ(header(DisplayType::Files)->sectionSize(0), shown(DisplayType::Files, 120));
}

TEST_F(ResultDisplayTest, FilesColumnsFollowTheListForm) {
  m_display.setUpColumns(DisplayType::Files);
  QAbstractItemModel* model = m_host.listView(DisplayType::Files)->model();
  EXPECT_EQ(model->columnCount(), 4);
  m_host.settings.f_display_type = 2;
  m_display.setUpColumns(DisplayType::Files);
  EXPECT_EQ(model->columnCount(), 3);
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Filename");
  m_host.settings.f_display_type = 1;  // the tree form has no columns to set up
  m_display.setUpColumns(DisplayType::Files);
  EXPECT_EQ(model->columnCount(), 3);
}

// The default widths were made for a smaller font: in the list's own font,
// at any size, a group's name must be readable; a text that still does not
// fit shows whole as its tool tip; a double click on the edge of a header
// section fits that column to its contents.
TEST_F(ResultDisplayTest, DefaultWidthsFitNamesInTheListsFontAndTheRestIsReachable) {
  m_host.current = DisplayType::Groups;
  m_host.settings.g_show_members = 1;
  QTableView* view = m_host.listView(DisplayType::Groups);
  const std::string longComment(150, 'w');
  const auto cutShort = [&](int row, int column) {
    const QModelIndex index = view->model()->index(row, column);
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = QRect(0, 0, view->horizontalHeader()->sectionSize(column), 20);
    auto* delegate = qobject_cast<FullTextToolTips*>(view->itemDelegate());
    return delegate != nullptr && delegate->cutShort(option, index);
  };
  for (int points : {8, 11, 16}) {
    QFont font = view->font();
    font.setPointSize(points);
    view->setFont(font);
    m_display.requestColumnReset(DisplayType::Groups);
    m_display.setUpColumns(DisplayType::Groups);
    block(WorkKind::Groups).groups = display_test::groupHolder(
        {{"Administrators", "Members can fully administer", "Domain Admins"},
         {"Print Operators", longComment, "LAB\\alice"}});
    m_display.fill(m_block);
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_FALSE(cutShort(0, 0)) << points;  // "Administrators"
    EXPECT_FALSE(cutShort(0, 2)) << points;  // "Domain Admins"
    EXPECT_TRUE(cutShort(1, 1)) << points;   // the long comment: its tool tip
  }

  view->resize(800, 300);
  view->show();
  QHeaderView* h = view->horizontalHeader();
  const QPoint edge(h->sectionViewportPosition(1) + h->sectionSize(1) - 1, h->height() / 2);
  QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, edge);
  EXPECT_FALSE(cutShort(1, 1));
  view->hide();
}

TEST_F(ResultDisplayTest, UsersFillAdoptsRecordsAndUpdatesTexts) {
  m_display.setUpColumns(DisplayType::Users);
  header(DisplayType::Users)->resizeSection(2, 99);
  block(WorkKind::Users).users =
      display_test::userHolder({{"alice"}, {"bob", "Yes"}, {"carol", "No", "Yes"}});
  m_display.fill(m_block);

  QAbstractItemModel* model = m_host.listView(DisplayType::Users)->model();
  ASSERT_EQ(model->rowCount(), 3);
  EXPECT_EQ(model->index(1, 0).data().toString(), "bob");
  EXPECT_EQ(header(DisplayType::Users)->sectionSize(2), 99);  // the fill keeps widths
  EXPECT_FALSE(m_block.users.hasArray());                     // the records moved
  EXPECT_EQ(m_host.endBusyCalls, 1);
  EXPECT_EQ(m_host.enableEditCalls, 1);
  // No backend answers NetUserModalsGet here: the server text stays bare.
  const DisplayTexts expected{"\\\\PDC", "3"};
  EXPECT_EQ(m_host.displayTexts(DisplayType::Users), expected);
  EXPECT_EQ(m_host.status, expected);
  EXPECT_TRUE(m_host.scripted.shown().empty());
}

TEST_F(ResultDisplayTest, StatusShowsTheCurrentTypesTextsAfterAFillOfAnother) {
  m_host.setDisplayTexts(DisplayType::Servers, {"LAB\\\\BDC", "12"});
  m_host.current = DisplayType::Servers;
  block(WorkKind::Users).users = display_test::userHolder({{"alice"}});
  m_display.fill(m_block);
  EXPECT_EQ(m_host.displayTexts(DisplayType::Users).count, "1");
  EXPECT_EQ(m_host.displayTexts(DisplayType::Servers), (DisplayTexts{"LAB\\\\BDC", "12"}));
  EXPECT_EQ(m_host.status, (DisplayTexts{"LAB\\\\BDC", "12"}));
}

TEST_F(ResultDisplayTest, GroupsFillCountsMembersItDoesNotShow) {
  m_host.current = DisplayType::Groups;
  m_host.settings.g_show_members = 0;
  block(WorkKind::Groups).groups = display_test::groupHolder(display_test::kSampleGroups);
  m_display.fill(m_block);
  EXPECT_EQ(m_display.model(DisplayType::Groups)->rowCount(), 2);
  EXPECT_EQ(m_host.status.count, "5");
}

struct ErrorRow {
  WorkKind kind;
  DisplayType type;
};

class ErrorFillTest : public ResultDisplayTest, public ::testing::WithParamInterface<ErrorRow> {};

TEST_P(ErrorFillTest, ErrorFirstRecordShowsMessageAndLeavesListEmpty) {
  const ErrorRow& row = GetParam();
  // One record named `first` for the row's kind; a good browse comes first,
  // and its rows must not survive the failed one.
  auto fillWith = [&](const std::string& first) {
    WorkerBlock& b = block(row.kind);
    if (row.kind == WorkKind::Users) {
      b.users = display_test::userHolder({{first}, {"alice"}});
    } else if (row.kind == WorkKind::Groups) {
      b.groups = display_test::groupHolder({{first, "", "AAGROUP_CONTAINER"}});
    } else {
      b.servers.allocate(3);
      b.servers.append()->name = first;
      b.servers.finish();
    }
    m_display.fill(b);
  };
  fillWith("good");
  ASSERT_GT(m_host.listView(row.type)->model()->rowCount(), 0);
  fillWith("ERROR : Could not enumerate domain.");

  EXPECT_EQ(m_host.listView(row.type)->model()->rowCount(), 0);
  ASSERT_EQ(m_host.scripted.shown().size(), 1u);
  EXPECT_EQ(m_host.scripted.shown()[0].text, kCannotBrowse);
  EXPECT_EQ(m_host.displayTexts(row.type).count, "0");
  EXPECT_EQ(m_host.endBusyCalls, 2);
}

INSTANTIATE_TEST_SUITE_P(Lists, ErrorFillTest,
                         ::testing::Values(ErrorRow{WorkKind::Users, DisplayType::Users},
                                           ErrorRow{WorkKind::Groups, DisplayType::Groups},
                                           ErrorRow{WorkKind::Servers, DisplayType::Servers}));

TEST_F(ResultDisplayTest, NoRecordArrayStillEndsTheBusyState) {
  block(WorkKind::Users);  // the worker could not allocate: no array
  m_display.fill(m_block);
  EXPECT_EQ(m_host.listView(DisplayType::Users)->model()->rowCount(), 0);
  EXPECT_EQ(m_host.endBusyCalls, 1);
  EXPECT_EQ(m_host.displayTexts(DisplayType::Users).count, "0");
}

TEST_F(ResultDisplayTest, UnknownWorkKindReportsAndFillsNothing) {
  m_host.setDisplayTexts(DisplayType::Users, {"LAB\\\\PDC", "7"});
  block(static_cast<WorkKind>(9));
  m_display.fill(m_block);
  ASSERT_EQ(m_host.scripted.shown().size(), 1u);
  EXPECT_EQ(m_host.scripted.shown()[0].text, "An unknown thread has terminated.");
  EXPECT_EQ(m_host.endBusyCalls, 1);
  EXPECT_EQ(m_host.displayTexts(DisplayType::Users), (DisplayTexts{"LAB\\\\PDC", "7"}));
}

TEST_F(ResultDisplayTest, UnreachableEditMenuIsReported) {
  m_host.editMenuReachable = false;
  block(WorkKind::Licenses);
  m_display.fill(m_block);
  ASSERT_EQ(m_host.scripted.shown().size(), 1u);
  EXPECT_EQ(m_host.scripted.shown()[0].text, "error getting sub-menu handle");
  EXPECT_EQ(m_host.displayTexts(DisplayType::Licenses), (DisplayTexts{"\\\\PDC", "0"}));
}

}  // namespace
}  // namespace display
