#include "options/display_pages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

namespace settings::pages {

using V = SettingsValues;

namespace {

constexpr std::array<FlagBox, 22> kUserBoxes = {{
    {"User ID", &V::u_user_id, true},
    {"&Full User Name", &V::u_user_name},
    {"&Number of logons", &V::u_num_logons},
    {"&Last logon Date", &V::u_last_logon},
    {"Acct. &Expires", &V::u_expires},
    {"&Disabled UID", &V::u_disabled},
    {"Has P&rofile", &V::u_profile_check},
    {"Has &Script", &V::u_script_check},
    {"&Has password", &V::u_pw_check},
    {"&Max storage", &V::u_max_storage},
    {"&Password Expires", &V::u_pass_expires},
    {"Locked O&ut", &V::u_locked_out},
    {"Des&cription", &V::u_description},
    {"Change P&WD next", &V::u_change_pwd_next},
    {"Can't Change PWD", &V::u_nopwd_change},
    {"H&ome Dir.", &V::u_home_dir},
    {"Home Dri&ve", &V::u_home_drive},
    {"Is Act&ive Now", &V::u_is_active_now},
    {"PWD Age", &V::u_last_pwdchange},
    {"RAS", &V::u_ras_allow},
    {"Browse all servers for login information", &V::traverse_search},
    // How users are read, not which columns show.
    {"&Quick view", &V::u_quick_viewing, false, false},
}};

constexpr std::array<FlagBox, 4> kGroupBoxes = {{
    {"&Group Name", &V::g_groupname, true, false},
    {"&Comments", &V::g_comments, false, false},
    {"&Show Members", &V::g_show_members, false, true},
    {"S&how Domain name with user name", &V::g_show_domain_name, false, false},
}};

constexpr std::array<FlagBox, 30> kServerBoxes = {{
    {"Server Name", &V::s_Server_Name, true},
    {"C&omments", &V::s_comments, true},
    {"A&FP", &V::s_AFP},
    {"&Backup Browser", &V::s_BKB},
    {"B&ackup DC", &V::s_BKDC},
    {"&Domain Controller", &V::s_DC},
    {"Domain Master", &V::s_DM},
    {"Domain M&ember", &V::s_DOMMEM},
    {"&Master Browser", &V::s_MB},
    {"MFPN Server", &V::s_MFPN},
    {"&Novell Server", &V::s_NOVELL},
    {"NT", &V::s_NT},
    {"NT Server", &V::s_NTS},
    {"OSF Server", &V::s_DSF},
    {"&Potential Browser", &V::s_PB},
    {"P&rintQ server", &V::s_PQS},
    {"&Server", &V::s_SERV},
    {"Dialin Ser&ver", &V::s_DIALIN},
    {"S&QL Server", &V::s_SQL},
    {"&Time Server", &V::s_TIMESRV},
    {"Server &ID", &V::s_TYPE},
    {"&Unix Server", &V::s_UNIX},
    {"VMS Server", &V::s_VMS},
    {"&WFW Workstation", &V::s_WFW},
    {"NT Wor&kstation", &V::s_WORKS},
    {"&Version", &V::s_version_number},
    {"Build", &V::s_build},
    {"Service Pack", &V::s_service_pack},
    {"Install date", &V::s_extra_info},
    {"Extra entries", &V::s_show_extra_entries},
}};

constexpr std::array<FlagBox, 5> kNetworkBoxes = {{
    {"Network Types", &V::n_Net_Types, true, false},
    {"Domains", &V::n_Domains, true, false},
    {"Domain &Members", &V::n_Domain_Members, false, false},
    {"Shares (&Disk)", &V::n_Shares_Disk, false, false},
    {"Shares (&Printer)", &V::n_Shares_Printer, false, false},
}};

}  // namespace

CUserspage::CUserspage(QWidget* parent) : SettingsPage(parent) {
  auto* layout = new QVBoxLayout(this);
  addFlagGroup(layout, "Display Options", kUserBoxes, 2);
  addGrayedNote(layout);
  addHelp(layout, "Choose the columns of the Users display and how users are read.");
}

bool CUserspage::save(SettingsValues& values) {
  saveFlags(values);
  return true;
}

groupspage::groupspage(QWidget* parent) : SettingsPage(parent) {
  auto* layout = new QVBoxLayout(this);
  addFlagGroup(layout, "Display Options", kGroupBoxes, 1);
  addGrayedNote(layout);
  addHelp(layout, "Choose the columns of the Groups display.");
}

bool groupspage::save(SettingsValues& values) {
  saveFlags(values);
  return true;
}

CServerspage::CServerspage(std::function<void()> extraEntries, QWidget* parent)
    : SettingsPage(parent) {
  setObjectName(QStringLiteral("CServerspage"));
  auto* layout = new QVBoxLayout(this);
  addFlagGroup(layout, "Display Options (Server)", kServerBoxes, 3);
  m_showExtra = findChild<QCheckBox*>(QStringLiteral("Extra entries"));
  m_extra = new QPushButton(QStringLiteral("Add extra entries"), this);
  layout->addWidget(m_extra, 0, Qt::AlignLeft);
  if (extraEntries) connect(m_extra, &QPushButton::clicked, this, std::move(extraEntries));
  connect(m_showExtra, &QCheckBox::toggled, m_extra, &QWidget::setVisible);
  // Kept from the page's first layout; the browse server is chosen in the
  // main window.
  auto* current = new QLineEdit(this);
  current->setObjectName(QStringLiteral("Current Server Name"));
  current->hide();
  auto* browse = new QPushButton(QStringLiteral("Browse"), this);
  browse->hide();
  addGrayedNote(layout);
  addHelp(layout, "Choose the columns of the Servers display.");
}

void CServerspage::load(const SettingsValues& values) {
  loadFlags(values);
  m_extra->setVisible(m_showExtra->isChecked());
}

bool CServerspage::save(SettingsValues& values) {
  saveFlags(values);
  return true;
}

CNetworks::CNetworks(QWidget* parent) : SettingsPage(parent) {
  auto* layout = new QVBoxLayout(this);
  addFlagGroup(layout, "Display (Resource)", kNetworkBoxes, 1);
  addGrayedNote(layout);
  addHelp(layout, "Choose what the Network display walks.");
}

bool CNetworks::save(SettingsValues& values) {
  saveFlags(values);
  return true;
}

}  // namespace settings::pages
