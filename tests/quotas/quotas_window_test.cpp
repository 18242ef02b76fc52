// The Quotas display in the window over a lab whose PDC holds quota entries
// in every state: the list read from the registry, and Add, Properties and
// Delete through the scripted dialogs and boxes, proven by the lab's
// registry afterwards.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTableView>
#include <array>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>

#include "../app/app_test_support.h"
#include "session/display_traits.h"
#include "display/icon_set.h"
#include "display/model_roles.h"
#include "display/content_table_model.h"
#include "session/display_contents.h"
#include "display/search_dialog.h"
#include "dlgthreads/quota_data.h"
#include "platform/lab/lab_backend.h"
#include "platform/registry.h"
#include "quotas/quota_settings_dialog.h"
#include "window/command_ids.h"

namespace {

using apptest::waitUntil;
using display::DisplayType;
using quotas::QuotaSettingsDialog;
using namespace platform;
using namespace window;

constexpr std::string_view kDirectories = "Software\\Brisle Software\\Hollisk\\Directories";

// The data of a quota entry on a server, read straight from its registry.
std::optional<std::string> entry(std::string_view server, std::string_view directory) {
  RegKey root;
  if (RegConnectRegistry(server, HKEY_LOCAL_MACHINE, root.out()) != ERROR_SUCCESS) return {};
  RegKey key;
  if (RegOpenKeyEx(root.get(), kDirectories, 0, KEY_READ, key.out()) != ERROR_SUCCESS) return {};
  std::array<std::uint8_t, 2000> data{};
  DWORD size = data.size();
  if (RegQueryValueEx(key.get(), directory, nullptr, data, &size) != ERROR_SUCCESS) return {};
  return std::string(reinterpret_cast<const char*>(data.data()));
}

void setEntry(std::string_view server, std::string_view directory, std::string_view data) {
  RegKey root;
  ASSERT_EQ(RegConnectRegistry(server, HKEY_LOCAL_MACHINE, root.out()), 0);
  RegKey key;
  ASSERT_EQ(RegOpenKeyEx(root.get(), kDirectories, 0, KEY_ALL_ACCESS, key.out()), 0);
  ASSERT_EQ(RegSetValueEx(key.get(), directory, REG_SZ, regSzBytes(data)), 0);
}

void removeEntry(std::string_view server, std::string_view directory) {
  RegKey root;
  ASSERT_EQ(RegConnectRegistry(server, HKEY_LOCAL_MACHINE, root.out()), 0);
  RegKey key;
  ASSERT_EQ(RegOpenKeyEx(root.get(), kDirectories, 0, KEY_ALL_ACCESS, key.out()), 0);
  ASSERT_EQ(RegDeleteValue(key.get(), directory), 0);
}

// A dialog step: types the fields and presses OK; the result is what the
// dialog ended with (it stays open when a field is refused).
ui::ScriptedDialogRunner::Step typeAndOk(QString size, std::optional<QString> directory = {}) {
  return [size, directory](QDialog& d) {
    auto& dialog = dynamic_cast<QuotaSettingsDialog&>(d);
    dialog.sizeEdit()->setText(size);
    if (directory) dialog.directoryEdit()->setText(*directory);
    dialog.accept();
    return dialog.result();
  };
}

// A lab backend whose registry refuses every write.
class ReadOnlyRegistry final : public lab::LabLocalSystem {
 public:
  using LabLocalSystem::LabLocalSystem;
  LONG RegSetValueEx(HKEY, std::string_view, DWORD, std::span<const std::uint8_t>) override {
    return static_cast<LONG>(ERROR_WRITE_FAULT);
  }
};

class QuotasWindow : public apptest::WindowTest {
 protected:
  void SetUp() override {
    apptest::testApp();
    m_lab = lab::test::loadTestLab("quotas-window");
    ASSERT_TRUE(m_lab);
    m_backend.serveLab(m_lab);
    ASSERT_TRUE(makeWindow());
    m_window->selectTab(display::traitsOf(DisplayType::Quotas).tab);
    m_view = qobject_cast<QTableView*>(m_window->resultControl(kCtlQuotasList));
    ASSERT_NE(m_view, nullptr);
  }

  void chooseServer(const QString& server) {
    QComboBox* combo = m_window->serverCombo();
    if (combo->findText(server) < 0) combo->addItem(server);
    combo->setCurrentIndex(combo->findText(server));
  }
  void browse(const QString& server = QStringLiteral("\\\\PDC")) {
    chooseServer(server);
    m_window->command(kIdBrowse);
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  }
  int rowOf(const QString& directory) const {
    for (int r = 0; r < m_view->model()->rowCount(); ++r)
      if (cell(r, 0) == directory) return r;
    return -1;
  }
  QString cell(int row, int column) const {
    return m_view->model()->index(row, column).data().toString();
  }
  void selectOnly(std::initializer_list<QString> directories) {
    m_view->clearSelection();
    for (const QString& d : directories) {
      const int row = rowOf(d);
      ASSERT_GE(row, 0) << d.toStdString();
      m_view->selectionModel()->select(m_view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }

  QTableView* m_view = nullptr;
};

TEST_F(QuotasWindow, ListShowsEveryEntryReadableWithItsStateAndFigures) {
  browse();
  EXPECT_TRUE(m_messages->shown().empty());
  // The oversized entry answers "more data" and is skipped; the entries
  // after it are still listed.
  ASSERT_EQ(m_view->model()->rowCount(), 7);
  EXPECT_EQ(rowOf(QStringLiteral("D:\\Oversized")), -1);
  EXPECT_EQ(m_window->statusText(3), "7");

  struct Expected {
    const char* directory;
    const char* size;
    const char* status;
    const char* usage;
    const char* used;
    display::ListImage image;
  };
  using display::ListImage;
  const Expected rows[] = {
      {"D:\\Home\\bob", "200", "WARNING", "85%", "170", ListImage::QuotaWarning},
      {"D:\\Home\\carol", "150000", "STOP", "100%", "150000", ListImage::QuotaStop},
      {"D:\\Sales", "5000000", "ILLEGAL", "0%", "0", ListImage::QuotaIllegal},
      {"D:\\Home\\alice", "250000", "OK", "12%", "30000", ListImage::QuotaOk},
      // An unknown code shows as it is, with the ok picture.
      {"D:\\Drawing", "800000", "zz", "42%", "336000", ListImage::QuotaOk},
      // Shorter than its prefix: what is there, nothing read past it.
      {"D:\\Scratch", "0", "", "97%", "0", ListImage::QuotaOk},
      // Beyond 2^31 kB, and a used amount beyond 2^32.
      {"D:\\Archive", "4000000000", "OK", "99%", "3960000000", ListImage::QuotaOk},
  };
  display::ContentTableModel* model = display::contentModelOf(*m_view);
  ASSERT_NE(model, nullptr);
  for (const Expected& e : rows) {
    const int r = rowOf(QString::fromUtf8(e.directory));
    ASSERT_GE(r, 0) << e.directory;
    EXPECT_EQ(cell(r, 1), e.size) << e.directory;
    EXPECT_EQ(cell(r, 2), e.status) << e.directory;
    EXPECT_EQ(cell(r, 3), e.usage) << e.directory;
    EXPECT_EQ(cell(r, 4), e.used) << e.directory;
    EXPECT_EQ(model->content().image(static_cast<std::size_t>(r)), e.image) << e.directory;
  }
}

TEST_F(QuotasWindow, MoreThanAThousandEntriesAreAllListed) {
  {
    RegKey root;
    ASSERT_EQ(RegConnectRegistry("\\\\PDC", HKEY_LOCAL_MACHINE, root.out()), 0);
    RegKey key;
    ASSERT_EQ(RegOpenKeyEx(root.get(), kDirectories, 0, KEY_ALL_ACCESS, key.out()), 0);
    for (int i = 0; i < 1200; ++i)
      ASSERT_EQ(RegSetValueEx(key.get(), "E:\\Home\\u" + std::to_string(i), REG_SZ,
                              regSzBytes("00001ok123456100")),
                0);
  }
  browse();
  EXPECT_EQ(m_view->model()->rowCount(), 1207);
  EXPECT_EQ(m_window->statusText(3), "1207");
  EXPECT_GE(rowOf(QStringLiteral("E:\\Home\\u1199")), 0);
}

TEST_F(QuotasWindow, UnreachableRegistrySaysSoAndListsNothing) {
  browse();
  browse(QStringLiteral("\\\\NOWHERE"));
  EXPECT_EQ(m_view->model()->rowCount(), 0);
  EXPECT_EQ(m_window->statusText(3), "0");
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Failed while connecting to remote or local "
                                                   "registry\nRegistry name: \\\\NOWHERE."});

  // Adding there changes nothing and says why, as a quota error.
  m_dialogs->queueStep(typeAndOk(QStringLiteral("500"), QStringLiteral("E:\\New")));
  m_messages->clear();
  m_window->command(kIdAdd);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].caption, "Veltrane Quota Error");
}

TEST_F(QuotasWindow, AddRefusesBadFieldsThenWritesTheNewEntry) {
  chooseServer(QStringLiteral("\\\\PDC"));
  m_window->settings().q_default_quota_size = 1234;
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<QuotaSettingsDialog&>(d);
    // The proposal, and a directory still open for typing.
    EXPECT_EQ(dialog.sizeEdit()->text(), "1234");
    EXPECT_TRUE(dialog.directoryEdit()->isEnabled());
    for (const char* refused : {"0", "9000001", "-5", "ten"}) {
      dialog.sizeEdit()->setText(QString::fromUtf8(refused));
      dialog.directoryEdit()->setText(QStringLiteral("E:\\New"));
      dialog.accept();
      EXPECT_EQ(dialog.result(), QDialog::Rejected) << refused;
    }
    // An empty name would write the key's default value.
    dialog.sizeEdit()->setText(QStringLiteral("500"));
    dialog.directoryEdit()->clear();
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    return typeAndOk(QStringLiteral("500"), QStringLiteral("E:\\New"))(d);
  });
  m_window->command(kIdAdd);
  EXPECT_EQ(m_messages->shown().size(), 5u);
  EXPECT_EQ(entry("\\\\PDC", "E:\\New"), "00000ok123456500");

  // The next browse shows it as a fresh quota.
  browse();
  const int row = rowOf(QStringLiteral("E:\\New"));
  ASSERT_GE(row, 0);
  EXPECT_EQ(cell(row, 2), "OK");
  EXPECT_EQ(cell(row, 3), "0%");
  EXPECT_EQ(cell(row, 4), "0");
}

TEST_F(QuotasWindow, EditKeepsTheServicePrefixAsItIsAtTheMomentOfWriting) {
  browse();
  selectOnly({QStringLiteral("D:\\Home\\bob"), QStringLiteral("D:\\Scratch")});
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<QuotaSettingsDialog&>(d);
    EXPECT_EQ(dialog.sizeEdit()->text(), "200");
    EXPECT_EQ(dialog.directoryEdit()->text(), "D:\\Home\\bob");
    EXPECT_FALSE(dialog.directoryEdit()->isEnabled());
    return typeAndOk(QStringLiteral("300"))(d);
  });
  // A short entry is padded to a whole prefix.
  m_dialogs->queueStep(typeAndOk(QStringLiteral("700")));
  // The list's own Properties runs through the pop-up and double click.
  m_window->command(kIdPropertiesCyclic);
  EXPECT_TRUE(m_messages->shown().empty());
  EXPECT_EQ(entry("\\\\PDC", "D:\\Home\\bob"), "00085wr123456300");
  EXPECT_EQ(entry("\\\\PDC", "D:\\Scratch"), "00097ok123456700");

  // The service rewrote the prefix while the dialog was open: that is kept.
  selectOnly({QStringLiteral("D:\\Home\\alice")});
  m_dialogs->queueStep([](QDialog& d) {
    RegKey root;
    RegConnectRegistry("\\\\PDC", HKEY_LOCAL_MACHINE, root.out());
    RegKey key;
    RegOpenKeyEx(root.get(), kDirectories, 0, KEY_ALL_ACCESS, key.out());
    RegSetValueEx(key.get(), "D:\\Home\\alice", REG_SZ, regSzBytes("00091wr654321250000"));
    return typeAndOk(QStringLiteral("260000"))(d);
  });
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(entry("\\\\PDC", "D:\\Home\\alice"), "00091wr654321260000");

  // A value cut short inside its usage keeps the usage it reads as (7 %, not
  // 70 %) in the field's whole width; only the size changes.
  setEntry("\\\\PDC", "D:\\Logs", "0007");
  browse();
  selectOnly({QStringLiteral("D:\\Logs")});
  m_dialogs->queueStep(typeAndOk(QStringLiteral("50")));
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(entry("\\\\PDC", "D:\\Logs"), "00007ok12345650");
  const dlgthreads::QuotaRecord reread = dlgthreads::parseQuotaData("D:\\Logs", *entry("\\\\PDC", "D:\\Logs"));
  EXPECT_EQ(reread.usage, 7u);
  EXPECT_EQ(reread.size, 50u);

  // Removed meanwhile: never brought back, and the user is told.
  selectOnly({QStringLiteral("D:\\Home\\carol")});
  m_dialogs->queueStep([](QDialog& d) {
    removeEntry("\\\\PDC", "D:\\Home\\carol");
    return typeAndOk(QStringLiteral("1"))(d);
  });
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(entry("\\\\PDC", "D:\\Home\\carol"), std::nullopt);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text, "Error 2 writing the quota on:\nD:\\Home\\carol.");
  EXPECT_EQ(m_messages->shown()[0].caption, "Veltrane Quota Error");
}

TEST_F(QuotasWindow, EditCancelLeavesTheEntryAndAFailedWriteSaysSo) {
  browse();
  selectOnly({QStringLiteral("D:\\Home\\bob")});
  m_dialogs->queueResult(QDialog::Rejected);
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(entry("\\\\PDC", "D:\\Home\\bob"), "00085wr123456200");

  m_backend.serve(lab::makeLabBackend(m_lab, std::make_shared<ReadOnlyRegistry>(m_lab)));
  m_dialogs->queueStep(typeAndOk(QStringLiteral("300")));
  m_window->command(kIdPropertiesCyclic);
  EXPECT_EQ(entry("\\\\PDC", "D:\\Home\\bob"), "00085wr123456200");
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text, "Error 29 writing the quota on:\nD:\\Home\\bob.");
}

TEST_F(QuotasWindow, DeleteAsksForEachEntryAndCancelStops) {
  browse();
  selectOnly({QStringLiteral("D:\\Home\\alice"), QStringLiteral("D:\\Home\\bob"),
              QStringLiteral("D:\\Sales"), QStringLiteral("D:\\Scratch")});
  for (ui::Answer a : {ui::Answer::Yes, ui::Answer::No, ui::Answer::Cancel})
    m_messages->queueAnswer(a);
  m_window->command(kIdDelete);
  const auto shown = m_messages->shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "Are you sure use wish to delete\nthe quota on:\nD:\\Home\\alice  ?");
  EXPECT_EQ(shown[0].caption, "Deleting quota");
  EXPECT_EQ(shown[0].buttons, ui::Buttons::YesNoCancel);
  EXPECT_EQ(entry("\\\\PDC", "D:\\Home\\alice"), std::nullopt);
  EXPECT_TRUE(entry("\\\\PDC", "D:\\Home\\bob"));
  EXPECT_TRUE(entry("\\\\PDC", "D:\\Sales"));
  EXPECT_TRUE(entry("\\\\PDC", "D:\\Scratch"));

  // Without the right to change the server's registry nothing goes.
  m_lab->logOn("LAB\\carol");
  m_messages->clear();
  selectOnly({QStringLiteral("D:\\Sales")});
  m_messages->queueAnswer(ui::Answer::Yes);
  m_window->command(kIdDelete);
  ASSERT_EQ(m_messages->shown().size(), 2u);
  EXPECT_EQ(m_messages->shown()[1].text, "Quota could NOT be deleted.");
  EXPECT_TRUE(entry("\\\\PDC", "D:\\Sales"));
}

TEST_F(QuotasWindow, PopupOffersWhatTheEditMenuGreys) {
  browse();
  m_view->clearSelection();
  auto items = [&] {
    std::vector<std::pair<std::string, bool>> out;
    const auto menu = m_window->makeContextMenu(DisplayType::Quotas);
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) out.emplace_back(a->text().toStdString(), a->isEnabled());
    return out;
  };
  using Items = std::vector<std::pair<std::string, bool>>;
  EXPECT_EQ(items(), (Items{{"&Add Quota", true},
                            {"&Delete Quota", false},
                            {"&Properties", false},
                            {"&Settings", true}}));
  selectOnly({QStringLiteral("D:\\Sales")});
  EXPECT_EQ(items(), (Items{{"&Add Quota", true},
                            {"&Delete Quota", true},
                            {"&Properties", true},
                            {"&Settings", true}}));
  for (int id : {kIdAdd, kIdDelete, kIdPropertiesCyclic})
    EXPECT_FALSE(m_window->commands().enabled(id, *m_window)) << id;
}

}  // namespace

namespace {

// Find and Filter reach the quota records as their columns show them.
TEST_F(QuotasWindow, FilterKeepsTheEntriesOfAStatusAndFindSkipsTheRest) {
  browse();
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<display::SearchDialog&>(d);
    dialog.textEdit()->setText(QStringLiteral("warning"));
    dialog.entireStringBox()->setChecked(true);
    dialog.allColumnsBox()->setChecked(false);
    dialog.columnList()->setCurrentRow(2);
    dialog.accept();
    return dialog.result();
  });
  m_window->command(kIdFilter);
  ASSERT_EQ(m_view->model()->rowCount(), 1);
  EXPECT_EQ(cell(0, 0), "D:\\Home\\bob");
  EXPECT_EQ(m_window->statusText(3), "1");

  // Find opens with the last text, over all columns; it sees the kept
  // entry only.
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<display::SearchDialog&>(d);
    EXPECT_EQ(dialog.textEdit()->text(), "warning");
    EXPECT_TRUE(dialog.allColumnsBox()->isChecked());
    EXPECT_TRUE(dialog.columnList()->isHidden());
    dialog.textEdit()->setText(QStringLiteral("D:\\Sales"));
    dialog.accept();
    return dialog.result();
  });
  m_window->command(kIdFind);
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Search Text was not found."});
}

}  // namespace
