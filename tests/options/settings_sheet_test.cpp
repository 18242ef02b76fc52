// The settings sheet in the window: it opens at the current display's page,
// Cancel leaves everything as it was, and OK writes through the settings
// store so that what the user chose is there again after a restart.

#include "options/settings_sheet.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <array>
#include <optional>

#include "../app/app_test_support.h"
#include "options/display_pages.h"
#include "options/option_pages.h"
#include "session/display_traits.h"
#include "platform/registry.h"
#include "settings/settings_store.h"
#include "window/command_ids.h"

namespace {

using display::DisplayType;
using settings::pages::SettingsSheet;
using namespace platform;
using namespace window;

struct Stored {
  DWORD type = REG_NONE;
  std::string text;
  DWORD number = 0;
};

std::optional<Stored> stored(HKEY root, std::string_view key, std::string_view name) {
  RegKey k;
  if (RegOpenKeyEx(root, key, 0, KEY_READ, k.out()) != ERROR_SUCCESS) return std::nullopt;
  std::array<std::uint8_t, 2000> data{};
  DWORD size = data.size();
  Stored value;
  if (RegQueryValueEx(k.get(), name, &value.type, data, &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (value.type == REG_DWORD)
    std::memcpy(&value.number, data.data(), 4);
  else
    value.text = reinterpret_cast<const char*>(data.data());
  return value;
}
std::optional<std::string> programText(std::string_view name) {
  auto v = stored(HKEY_CURRENT_USER, settings::kProgramKey, name);
  return v ? std::optional(v->text) : std::nullopt;
}
std::optional<DWORD> programNumber(std::string_view name) {
  auto v = stored(HKEY_CURRENT_USER, settings::kProgramKey, name);
  return v ? std::optional(v->number) : std::nullopt;
}
std::optional<DWORD> serviceNumber(std::string_view name) {
  auto v = stored(HKEY_LOCAL_MACHINE, settings::kQuotaServiceKey, name);
  return v ? std::optional(v->number) : std::nullopt;
}

template <class Page>
Page& page(QDialog& d) {
  auto* p = dynamic_cast<SettingsSheet&>(d).page<Page>();
  EXPECT_NE(p, nullptr);
  return *p;
}
QCheckBox& box(QWidget& page, const char* name) {
  auto* b = page.findChild<QCheckBox*>(QString::fromUtf8(name));
  EXPECT_NE(b, nullptr) << name;
  return *b;
}

class SettingsSheetTest : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(makeWindow());
  }
  void restart() {
    m_window.reset();
    ASSERT_TRUE(makeWindow());
  }
};

TEST_F(SettingsSheetTest, OpensAtTheCurrentDisplaysPageAndCancelChangesNothing) {
  const settings::SettingsValues before = m_window->settings();
  std::vector<std::pair<int, QString>> opened;
  for (DisplayType type : {DisplayType::Files, DisplayType::Groups, DisplayType::Network,
                           DisplayType::Quotas, DisplayType::Servers, DisplayType::Users}) {
    m_window->selectTab(display::traitsOf(type).tab);
    m_dialogs->queueStep([&](QDialog& d) {
      QTabWidget* tabs = dynamic_cast<SettingsSheet&>(d).tabs();
      opened.emplace_back(tabs->currentIndex(), tabs->tabText(tabs->currentIndex()));
      // Boxes ticked on several pages, a number typed: all cancelled.
      box(page<settings::pages::CUserspage>(d), "Description").click();
      box(page<settings::pages::groupspage>(d), "Show Members").click();
      page<settings::pages::CQuotasPage>(d).warningEdit()->setText(QStringLiteral("5"));
      return int(QDialog::Rejected);
    });
    m_window->command(kIdSettings);
  }
  EXPECT_EQ(opened, (std::vector<std::pair<int, QString>>{{0, "Files"},
                                                          {1, "Groups"},
                                                          {2, "Networks"},
                                                          {3, "Quotas"},
                                                          {4, "Servers"},
                                                          {5, "Users"}}));
  ASSERT_EQ(m_dialogs->shown().size(), 6u);
  EXPECT_EQ(m_dialogs->shown()[0].title, "Veltrane Settings");
  EXPECT_EQ(programText("u_description"), std::nullopt);
  EXPECT_EQ(m_window->settings().u_description, before.u_description);
  EXPECT_EQ(m_window->settings().WarningLevel, before.WarningLevel);
  EXPECT_TRUE(m_messages->shown().empty());
}

TEST_F(SettingsSheetTest, OkSavesEveryPageAndARestartReadsItBack) {
  m_window->selectTab(display::traitsOf(DisplayType::Users).tab);
  m_window->command(kIdBrowse);
  ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  auto* users = qobject_cast<QTableView*>(m_window->resultControl(kCtlUsersList));
  constexpr int kDescription = 14;
  ASSERT_FALSE(users->isColumnHidden(kDescription));
  m_dialogs->queueStep([](QDialog& d) {
    box(page<settings::pages::CUserspage>(d), "Description").click();
    box(page<settings::pages::groupspage>(d), "Comments").click();
    auto& servers = page<settings::pages::CServerspage>(d);
    EXPECT_TRUE(servers.extraEntriesButton()->isHidden());
    box(servers, "Extra entries").click();
    EXPECT_FALSE(servers.extraEntriesButton()->isHidden());
    auto& files = page<settings::pages::CFilesPage>(d);
    files.formButton(2)->click();
    files.rootPathEdit()->setText(QStringLiteral("D:\\Data"));
    auto& quotas = page<settings::pages::CQuotasPage>(d);
    quotas.warningEdit()->setText(QStringLiteral("50"));
    quotas.defaultSizeEdit()->setText(QStringLiteral("2500"));
    // The largest rate whose milliseconds fit the stored 32 bits.
    quotas.checkRateEdit()->setText(QStringLiteral("4294967"));
    page<settings::pages::CExportPage>(d).typeButton(1)->click();
    auto& general = page<settings::pages::CGeneralPage>(d);
    general.priorityButton(0)->click();
    general.loggingButton(1)->click();
    d.accept();
    return d.result();
  });
  m_window->command(kIdSettings);
  EXPECT_TRUE(m_messages->shown().empty());

  EXPECT_EQ(programText("u_description"), "FALSE");
  EXPECT_EQ(programText("g_comments"), "FALSE");
  EXPECT_EQ(programText("s_show_extra_entries"), "TRUE");
  EXPECT_EQ(programText("f_root_path"), "D:\\Data\\");
  EXPECT_EQ(programNumber("f_display_type"), 2u);
  EXPECT_EQ(programNumber("x_export_type"), 1u);
  EXPECT_EQ(programNumber("browse_priority"), 0u);
  EXPECT_EQ(programNumber("e_logging_onoff"), 1u);
  EXPECT_EQ(programNumber("q_default_quota_size"), 2500u);
  EXPECT_EQ(serviceNumber("SleepTime"), 4294967000u);
  EXPECT_EQ(serviceNumber("WarningLevel"), 50u);
  // The Users list shows its accounts under the new columns at once.
  EXPECT_EQ(users->model()->rowCount(), 3);
  EXPECT_TRUE(users->isColumnHidden(kDescription));
  // The Files list gathered under the old form is gone with its count.
  EXPECT_EQ(m_window->displayTexts(DisplayType::Files).count, "0");

  restart();
  const settings::SettingsValues& s = m_window->settings();
  EXPECT_EQ(s.u_description, 0u);
  EXPECT_EQ(s.g_comments, 0u);
  EXPECT_EQ(s.s_show_extra_entries, 1u);
  EXPECT_EQ(s.f_root_path, "D:\\Data\\");
  EXPECT_EQ(s.f_display_type, 2u);
  EXPECT_EQ(s.x_export_type, 1u);
  EXPECT_EQ(s.browse_priority, 0u);
  EXPECT_EQ(s.e_logging_onoff, 1u);
  EXPECT_EQ(s.q_default_quota_size, 2500u);
  EXPECT_EQ(s.SleepTime, 4294967u);
  EXPECT_EQ(s.WarningLevel, 50u);
}

TEST_F(SettingsSheetTest, RefusedNumbersKeepTheUserOnTheQuotasPage) {
  m_window->selectTab(display::traitsOf(DisplayType::Quotas).tab);
  m_dialogs->queueStep([](QDialog& d) {
    auto& sheet = dynamic_cast<SettingsSheet&>(d);
    auto& quotas = page<settings::pages::CQuotasPage>(d);
    quotas.warningEdit()->setText(QStringLiteral("0"));
    sheet.tabs()->setCurrentIndex(0);  // leaving the page checks it
    EXPECT_EQ(sheet.tabs()->currentIndex(), 3);
    quotas.warningEdit()->setText(QStringLiteral("99"));
    quotas.checkRateEdit()->setText(QStringLiteral("4294968"));
    sheet.tabs()->setCurrentIndex(0);
    sheet.accept();
    EXPECT_NE(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.tabs()->currentIndex(), 3);
    return int(QDialog::Rejected);
  });
  m_window->command(kIdSettings);
  std::vector<std::string> texts = shownTexts();
  EXPECT_EQ(texts, (std::vector<std::string>{"Please enter an integer between 1 and 99.",
                                             "Please enter an integer between 0 and 4294967.",
                                             "Please enter an integer between 0 and 4294967."}));
  EXPECT_EQ(serviceNumber("SleepTime"), std::nullopt);
}

TEST_F(SettingsSheetTest, TheLongestRootPathTheEditTakesComesBackAfterARestart) {
  QString typed;
  m_dialogs->queueStep([&](QDialog& d) {
    QLineEdit* root = page<settings::pages::CFilesPage>(d).rootPathEdit();
    root->setText(QString(5000, QLatin1Char('a')));
    typed = root->text();
    d.accept();
    return d.result();
  });
  m_window->command(kIdSettings);
  ASSERT_FALSE(typed.isEmpty());
  const std::string expected = typed.toStdString() + "\\";
  EXPECT_EQ(programText("f_root_path"), expected);
  restart();
  EXPECT_EQ(m_window->settings().f_root_path, expected);
}

}  // namespace

namespace {

// The third export format is the SQLite database the export writes, and
// the page says so.
TEST(ExportPage, NamesTheDatabaseFormatTheExportWrites) {
  apptest::testApp();
  settings::pages::CExportPage page;
  EXPECT_EQ(page.typeButton(2)->text(), "&SQLite database (*.db files)");
}

}  // namespace
