// The User Account Policy dialog in the window over the lab: what it shows
// for the policy read, its refusals, and the policy the lab holds after OK.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>

#include "../app/app_test_support.h"
#include "platform/netapi.h"
#include "users/account_policy_dialog.h"
#include "window/command_ids.h"

namespace {

using namespace platform;
using users::CAccountPolicy;

constexpr std::string_view kPdc = "\\\\PDC";

USER_MODALS_INFO_0 level0() {
  NetBuffer buffer;
  EXPECT_EQ(NetUserModalsGet(kPdc, 0, buffer), NERR_Success);
  return buffer.get<USER_MODALS_INFO_0>().front();
}
USER_MODALS_INFO_3 level3() {
  NetBuffer buffer;
  EXPECT_EQ(NetUserModalsGet(kPdc, 3, buffer), NERR_Success);
  return buffer.get<USER_MODALS_INFO_3>().front();
}
bool same(const USER_MODALS_INFO_0& a, const USER_MODALS_INFO_0& b) {
  return a.usrmod0_min_passwd_len == b.usrmod0_min_passwd_len &&
         a.usrmod0_max_passwd_age == b.usrmod0_max_passwd_age &&
         a.usrmod0_min_passwd_age == b.usrmod0_min_passwd_age &&
         a.usrmod0_force_logoff == b.usrmod0_force_logoff &&
         a.usrmod0_password_hist_len == b.usrmod0_password_hist_len;
}
bool same(const USER_MODALS_INFO_3& a, const USER_MODALS_INFO_3& b) {
  return a.usrmod3_lockout_duration == b.usrmod3_lockout_duration &&
         a.usrmod3_lockout_observation_window == b.usrmod3_lockout_observation_window &&
         a.usrmod3_lockout_threshold == b.usrmod3_lockout_threshold;
}

class AccountPolicy : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(makeWindow());
    QComboBox* combo = m_window->serverCombo();
    if (combo->findText(QString::fromUtf8(kPdc)) < 0) combo->addItem(QString::fromUtf8(kPdc));
    combo->setCurrentIndex(combo->findText(QString::fromUtf8(kPdc)));
  }
  void setPolicy(const USER_MODALS_INFO_0& m0, const USER_MODALS_INFO_3& m3) {
    ASSERT_EQ(NetUserModalsSet(kPdc, 0, m0, nullptr), NERR_Success);
    ASSERT_EQ(NetUserModalsSet(kPdc, 3, m3, nullptr), NERR_Success);
  }
  // Opens the dialog from the Tools menu and runs `work` on it; the step
  // answers with what the dialog ended with.
  void open(std::function<void(CAccountPolicy&)> work) {
    m_dialogs->queueStep([work](QDialog& d) {
      auto& dialog = dynamic_cast<CAccountPolicy&>(d);
      work(dialog);
      return dialog.result();
    });
    m_window->command(window::kIdAccountPolicies);
  }
};

TEST_F(AccountPolicy, UntouchedOkWritesBackExactlyWhatWasRead) {
  // Values the days and minutes of the dialog cannot express: forever
  // minimum age, a logoff time, lockout times in odd seconds, a threshold
  // beyond what may be typed.
  USER_MODALS_INFO_0 m0;
  m0.usrmod0_min_passwd_len = 7;
  m0.usrmod0_max_passwd_age = TIMEQ_FOREVER;
  m0.usrmod0_min_passwd_age = TIMEQ_FOREVER;
  m0.usrmod0_force_logoff = 3600;
  m0.usrmod0_password_hist_len = 4;
  USER_MODALS_INFO_3 m3;
  m3.usrmod3_lockout_threshold = 5000;
  m3.usrmod3_lockout_observation_window = 150;
  m3.usrmod3_lockout_duration = TIMEQ_FOREVER;
  setPolicy(m0, m3);

  open([](CAccountPolicy& d) {
    EXPECT_TRUE(d.neverExpiresRadio()->isChecked());
    EXPECT_EQ(d.maxAgeEdit()->text(), "31");
    EXPECT_FALSE(d.maxAgeEdit()->isEnabled());
    EXPECT_EQ(d.minAgeEdit()->text(), "90");
    EXPECT_EQ(d.minLengthEdit()->text(), "7");
    EXPECT_EQ(d.historyEdit()->text(), "4");
    EXPECT_TRUE(d.forceLogoffCheck()->isChecked());
    EXPECT_TRUE(d.useLockoutCheck()->isChecked());
    EXPECT_EQ(d.thresholdEdit()->text(), "5000");
    EXPECT_EQ(d.windowEdit()->text(), "2");
    // Forever: the duration shows the window's minutes, and is disabled.
    EXPECT_TRUE(d.foreverCheck()->isChecked());
    EXPECT_EQ(d.durationEdit()->text(), "2");
    EXPECT_FALSE(d.durationEdit()->isEnabled());
    EXPECT_TRUE(d.thresholdEdit()->isEnabled());
    d.accept();
  });
  ASSERT_EQ(m_dialogs->shown().size(), 1u);
  EXPECT_EQ(m_dialogs->shown()[0].title, "User Account Policy \\\\PDC");
  EXPECT_TRUE(m_messages->shown().empty());
  EXPECT_TRUE(same(level0(), m0));
  EXPECT_TRUE(same(level3(), m3));

  // Changing one field writes that field only, in the platform's seconds.
  open([](CAccountPolicy& d) {
    d.expiresRadio()->setChecked(true);
    EXPECT_TRUE(d.maxAgeEdit()->isEnabled());
    d.maxAgeEdit()->setText(QStringLiteral("45"));
    d.foreverCheck()->setChecked(false);
    EXPECT_TRUE(d.durationEdit()->isEnabled());
    d.durationEdit()->setText(QStringLiteral("30"));
    d.accept();
  });
  USER_MODALS_INFO_0 want0 = m0;
  want0.usrmod0_max_passwd_age = 45 * 86400;
  USER_MODALS_INFO_3 want3 = m3;
  want3.usrmod3_lockout_duration = 30 * 60;
  EXPECT_TRUE(same(level0(), want0));
  EXPECT_TRUE(same(level3(), want3));
}

TEST_F(AccountPolicy, WithoutLockoutOpensWithDefaultsAndTurningItOnWritesTheRules) {
  USER_MODALS_INFO_0 m0;
  USER_MODALS_INFO_3 m3;
  m3.usrmod3_lockout_threshold = 0;
  setPolicy(m0, m3);

  // Opened from the Groups list's pop-up menu: the policy is not the
  // Users display's alone.
  m_dialogs->queueStep([](QDialog& d) {
    auto& dialog = dynamic_cast<CAccountPolicy&>(d);
    EXPECT_FALSE(dialog.useLockoutCheck()->isChecked());
    EXPECT_EQ(dialog.thresholdEdit()->text(), "5");
    EXPECT_EQ(dialog.windowEdit()->text(), "120");
    EXPECT_EQ(dialog.durationEdit()->text(), "60");
    EXPECT_FALSE(dialog.thresholdEdit()->isEnabled());
    EXPECT_FALSE(dialog.foreverCheck()->isEnabled());
    EXPECT_FALSE(dialog.durationEdit()->isEnabled());
    dialog.useLockoutCheck()->setChecked(true);
    EXPECT_TRUE(dialog.durationEdit()->isEnabled());
    dialog.thresholdEdit()->setText(QStringLiteral("3"));
    dialog.foreverCheck()->setChecked(true);
    EXPECT_FALSE(dialog.durationEdit()->isEnabled());
    dialog.accept();
    return dialog.result();
  });
  std::unique_ptr<QMenu> menu = m_window->makeContextMenu(display::DisplayType::Groups);
  QAction* item = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == QStringLiteral("Account &Policies")) item = a;
  ASSERT_NE(item, nullptr);
  item->trigger();

  ASSERT_EQ(m_dialogs->shown().size(), 1u);
  const USER_MODALS_INFO_3 got = level3();
  EXPECT_EQ(got.usrmod3_lockout_threshold, 3u);
  EXPECT_EQ(got.usrmod3_lockout_observation_window, 120u * 60);
  EXPECT_EQ(got.usrmod3_lockout_duration, TIMEQ_FOREVER);
  EXPECT_TRUE(same(level0(), m0));
}

TEST_F(AccountPolicy, BadValuesAreRefusedAndNothingIsWrittenUntilTheyAreMended) {
  USER_MODALS_INFO_0 m0;
  USER_MODALS_INFO_3 m3;
  m3.usrmod3_lockout_threshold = 4;
  m3.usrmod3_lockout_observation_window = 600;
  m3.usrmod3_lockout_duration = 600;
  setPolicy(m0, m3);

  std::vector<std::string> refusals;
  open([&](CAccountPolicy& d) {
    const auto refused = [&](QLineEdit* edit, const char* text) {
      const QString before = edit->text();
      edit->setText(QString::fromUtf8(text));
      m_messages->clear();
      d.accept();
      EXPECT_EQ(d.result(), QDialog::Rejected) << text;
      EXPECT_TRUE(same(level0(), m0));
      EXPECT_TRUE(same(level3(), m3));
      refusals.push_back(m_messages->shown().empty() ? "" : m_messages->shown()[0].text);
      edit->setText(before);
    };
    refused(d.thresholdEdit(), "0");
    refused(d.thresholdEdit(), "1000");
    d.expiresRadio()->setChecked(true);
    refused(d.maxAgeEdit(), "ten");
    refused(d.minAgeEdit(), "-");
    // Days or minutes whose seconds do not fit 32 bits.
    refused(d.maxAgeEdit(), "49710");
    refused(d.durationEdit(), "71582789");
    refused(d.minLengthEdit(), "-1");
    // What the server keeps: length 14, history 24, a window of a minute.
    refused(d.minLengthEdit(), "300");
    refused(d.historyEdit(), "99");
    refused(d.windowEdit(), "0");
    refused(d.maxAgeEdit(), "-1");

    // The arrows stop at 998 and at 1.
    d.thresholdEdit()->setText(QStringLiteral("997"));
    for (int i = 0; i < 3; ++i) d.stepUpDown(0, true);
    EXPECT_EQ(d.thresholdEdit()->text(), "998");
    d.thresholdEdit()->setText(QStringLiteral("2"));
    for (int i = 0; i < 3; ++i) d.stepUpDown(0, false);
    EXPECT_EQ(d.thresholdEdit()->text(), "1");
    d.stepUpDown(1, true);
    EXPECT_EQ(d.windowEdit()->text(), "11");
    d.accept();
  });
  EXPECT_EQ(refusals, (std::vector<std::string>{
                          "Please enter an integer between 1 and 999.",
                          "Please enter an integer between 1 and 999.",
                          "Please enter a positive integer.", "Please enter an integer.",
                          "Please enter an integer between 0 and 49709.",
                          "Please enter an integer between 0 and 71582788.",
                          "Please enter an integer between 0 and 14.",
                          "Please enter an integer between 0 and 14.",
                          "Please enter an integer between 0 and 24.",
                          "Please enter an integer between 1 and 71582788.",
                          "Please enter a positive integer."}));
  EXPECT_EQ(level3().usrmod3_lockout_threshold, 1u);
  EXPECT_EQ(level3().usrmod3_lockout_observation_window, 660u);
  EXPECT_EQ(level0().usrmod0_max_passwd_age, m0.usrmod0_max_passwd_age);
}

TEST_F(AccountPolicy, FailedReadOrWriteIsReported) {
  // A server that answers no policy: the message, and no dialog.
  QComboBox* combo = m_window->serverCombo();
  combo->addItem(QStringLiteral("\\\\NOWHERE"));
  combo->setCurrentIndex(combo->findText(QStringLiteral("\\\\NOWHERE")));
  m_window->command(window::kIdAccountPolicies);
  EXPECT_TRUE(m_dialogs->shown().empty());
  EXPECT_EQ(shownTexts(),
            std::vector<std::string>{
                "Could not complete the NetUserModalsGet function to\ninitialize the "
                "structures.\n\nPlease check that the currently browsed server is a \nPrimary "
                "Domain Controller."});

  // The server refuses the write (a plain account): said once, and the
  // dialog stays open with its edits; once allowed, the same OK writes them.
  combo->setCurrentIndex(combo->findText(QString::fromUtf8(kPdc)));
  m_messages->clear();
  const USER_MODALS_INFO_0 before = level0();
  open([&](CAccountPolicy& d) {
    d.minLengthEdit()->setText(QStringLiteral("9"));
    d.useLockoutCheck()->setChecked(true);
    m_lab->logOn("LAB\\alice");
    d.accept();
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(shownTexts(),
              std::vector<std::string>{"Could not complete the setting of the Modal settings."});
    EXPECT_EQ(d.minLengthEdit()->text(), "9");
    EXPECT_TRUE(d.useLockoutCheck()->isChecked());
    m_lab->logOn("LAB\\Administrator");
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
  });
  EXPECT_EQ(level0().usrmod0_min_passwd_len, 9u);
  EXPECT_NE(before.usrmod0_min_passwd_len, 9u);
  EXPECT_EQ(level3().usrmod3_lockout_threshold, 5u);
}

}  // namespace
