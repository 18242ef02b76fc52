#include "servers/server_info_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "resources/strings.h"
#include "ui/messages.h"

namespace servers {

namespace {

// Room beside a column title for the header's own margins and sort mark.
constexpr int kTitleMargin = 24;

QString q(const std::string& s) { return QString::fromStdString(s); }

QTreeWidget* makeList(QWidget* parent, const char* name,
                      std::initializer_list<std::pair<const char*, int>> columns) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  QStringList titles;
  for (const auto& c : columns) titles << QString::fromLatin1(c.first);
  list->setHeaderLabels(titles);
  int i = 0;
  // The widths were made for a smaller font; the list's font widens them,
  // and a column is never narrower than its own title.
  const double scale = list->fontMetrics().averageCharWidth() / 6.0;
  const QFontMetrics titleFont = list->header()->fontMetrics();
  for (const auto& c : columns) {
    const int titleWidth = titleFont.horizontalAdvance(QString::fromLatin1(c.first)) + kTitleMargin;
    list->setColumnWidth(i++, std::max(titleWidth, static_cast<int>(c.second * std::max(1.0, scale))));
  }
  return list;
}

}  // namespace

ServerInfoDialog::ServerInfoDialog(std::string server, ui::Messages& messages, QWidget* parent)
    : QDialog(parent), m_server(std::move(server)), m_messages(messages) {
  setObjectName(QStringLiteral("ServerInformation"));
  setWindowTitle(QStringLiteral("Server information"));
  buildControls();
}

void ServerInfoDialog::buildControls() {
  m_description = new QLineEdit(this);
  m_description->setMaxLength(static_cast<int>(platform::MAXCOMMENTSZ));
  m_type = new QLabel(this);
  m_hidden = new QCheckBox(QStringLiteral("H&idden"), this);
  m_maxUsers = new QLineEdit(this);
  m_maxUsers->setReadOnly(true);
  m_autoDisconnect = new QCheckBox(QStringLiteral("Auto disconnect"), this);
  m_disconnect = new QLineEdit(this);
  m_disconnect->setValidator(new QIntValidator(0, 65535, m_disconnect));
  m_userPath = new QLineEdit(this);
  m_userPath->setReadOnly(true);
  m_rate = new QLineEdit(this);
  m_rate->setValidator(new QIntValidator(0, 65535, m_rate));
  m_delta = new QLineEdit(this);
  m_delta->setValidator(new QIntValidator(0, 65535, m_delta));
  m_timeServer = new QCheckBox(QStringLiteral("Time Server"), this);
  m_timeServer->setEnabled(false);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Description:"), m_description);
  form->addRow(QStringLiteral("Type:"), m_type);
  form->addRow(QStringLiteral("Max. Users"), m_maxUsers);
  form->addRow(QStringLiteral("User Path:"), m_userPath);
  auto* disconnectRow = new QHBoxLayout;
  disconnectRow->addWidget(m_autoDisconnect);
  disconnectRow->addWidget(m_disconnect);
  disconnectRow->addStretch();
  form->addRow(m_hidden, disconnectRow);
  auto* announces = new QGroupBox(QStringLiteral("Announces"), this);
  auto* announceForm = new QFormLayout(announces);
  announceForm->addRow(QStringLiteral("Rate:"), m_rate);
  announceForm->addRow(QStringLiteral("Delta"), m_delta);
  announceForm->addRow(m_timeServer);

  m_tabs = new QTabBar(this);
  m_sessions = makeList(this, "sessions",
                        {{"Connected users:", 100}, {"Computer:", 100}, {"Opens:", 50},
                         {"Time:", 50}, {"Idle:", 50}, {"Guest:", 50}});
  m_files = makeList(this, "files",
                     {{"User:", 100}, {"Permissions:", 100}, {"Locks:", 50}, {"Source:", 150}});
  m_disconnectOne = new QPushButton(QStringLiteral("&Disconnect"), this);
  m_disconnectAll = new QPushButton(QStringLiteral("Disconnect &All"), this);
  m_disconnectOne->setEnabled(false);
  m_disconnectAll->setEnabled(false);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ServerInfoDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_autoDisconnect, &QCheckBox::clicked, this, [this] {
    exchange(true);
    m_disconnect->setVisible(m_fields.autoDisconnect);
  });
  connect(m_hidden, &QCheckBox::clicked, this, &ServerInfoDialog::hiddenClicked);
  connect(m_sessions, &QTreeWidget::itemClicked, this, [this] {
    m_disconnectOne->setEnabled(true);
    m_disconnectAll->setEnabled(true);
  });
  connect(m_disconnectOne, &QPushButton::clicked, this, &ServerInfoDialog::disconnectSelected);
  connect(m_disconnectAll, &QPushButton::clicked, this, &ServerInfoDialog::disconnectAllSessions);

  auto* top = new QHBoxLayout;
  top->addLayout(form, 3);
  top->addWidget(announces, 1);
  auto* disconnects = new QHBoxLayout;
  disconnects->addWidget(m_disconnectOne);
  disconnects->addWidget(m_disconnectAll);
  disconnects->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_tabs);
  layout->addWidget(new QLabel(QStringLiteral("Users"), this));
  layout->addWidget(m_sessions, 1);
  layout->addLayout(disconnects);
  layout->addWidget(new QLabel(QStringLiteral("Resources"), this));
  layout->addWidget(m_files, 1);
  layout->addWidget(buttons);
  resize(640, 560);
}

bool ServerInfoDialog::load() {
  if (m_server.empty()) {
    m_messages.ok("An error has occurred:\nAttempt to view an invalid servername\nor missing servername.",
                  res::programTitle());
    return false;
  }
  if (m_tabs->count() == 0) m_tabs->addTab(QStringLiteral("Users"));
  setWindowTitle(q("Server information for " + m_server));
  if (readServerFields(m_server, &m_fields) != platform::NERR_Success) {
    m_messages.ok("An error occurred while retrieving server information.\nCheck the rights on the "
                  "server, or the Domain Trusts.",
                  res::programTitle());
    return false;
  }
  if (readSessions(m_server, &m_sessionRows) != platform::NERR_Success) {
    m_messages.ok("An error occurred while enumerating\nthe sessions.", res::programTitle());
    return false;
  }
  if (readOpenFiles(m_server, &m_fileRows) != platform::NERR_Success) {
    m_messages.ok("Failed while enumerating the opened files.", res::programTitle());
    m_fileRows.clear();
  }
  fillLists();
  exchange(false);
  return true;
}

void ServerInfoDialog::exchange(bool save) {
  if (!save) {
    m_description->setText(q(m_fields.description));
    m_type->setText(q(m_fields.type));
    m_hidden->setChecked(m_fields.hidden);
    m_maxUsers->setText(QString::number(m_fields.maxUsers));
    m_autoDisconnect->setChecked(m_fields.autoDisconnect);
    m_disconnect->setText(QString::number(m_fields.disconnectMinutes));
    m_disconnect->setVisible(m_fields.autoDisconnect);
    m_userPath->setText(q(m_fields.userPath));
    m_rate->setText(QString::number(m_fields.announceRate));
    m_delta->setText(QString::number(m_fields.announceDelta));
    m_timeServer->setChecked(m_fields.timeServer);
    return;
  }
  m_fields.description = m_description->text().toStdString();
  m_fields.hidden = m_hidden->isChecked();
  m_fields.autoDisconnect = m_autoDisconnect->isChecked();
  m_fields.disconnectMinutes = m_disconnect->text().toUInt();
  m_fields.announceRate = m_rate->text().toUInt();
  m_fields.announceDelta = m_delta->text().toUInt();
  m_fields.timeServer = m_timeServer->isChecked();
}

void ServerInfoDialog::fillLists() {
  QList<QTreeWidgetItem*> sessions;
  sessions.reserve(static_cast<qsizetype>(m_sessionRows.size()));
  for (const auto& s : m_sessionRows) {
    sessions << new QTreeWidgetItem(QStringList{
        q(s.sesi2_username), q(s.sesi2_cname), QString::number(s.sesi2_num_opens),
        q(minutesAndSeconds(s.sesi2_time)), q(minutesAndSeconds(s.sesi2_idle_time)),
        s.sesi2_user_flags == 1 ? QStringLiteral("Yes") : QStringLiteral("No")});
  }
  m_sessions->addTopLevelItems(sessions);
  QList<QTreeWidgetItem*> files;
  files.reserve(static_cast<qsizetype>(m_fileRows.size()));
  for (const auto& f : m_fileRows) {
    files << new QTreeWidgetItem(QStringList{q(f.fi3_username), q(permissionText(f.fi3_permissions)),
                                             QString::number(f.fi3_num_locks), q(f.fi3_pathname)});
  }
  m_files->addTopLevelItems(files);
}

void ServerInfoDialog::emptyLists() {
  m_sessions->clear();
  m_files->clear();
  m_disconnectOne->setEnabled(false);
  m_disconnectAll->setEnabled(false);
}

void ServerInfoDialog::hiddenClicked(bool checked) {
  exchange(true);
  if (!checked) return;
  m_messages.show(ui::Message{
      "If you choose to hide the server, NO conventional \ntools will be able to find it.\n"
      "Mapping directly to resources WILL still work.\n\nTo UNHIDE, choose Tools..Unhide server.\n"
      "Brisle Software also offers a separate tool to unhide servers.",
      "***WARNING***", ui::Buttons::Ok, ui::Icon::Warning, ui::Answer::Ok});
}

void ServerInfoDialog::disconnectSelected() {
  QTreeWidgetItem* item = m_sessions->currentItem();
  if (!item) {
    m_messages.ok("Error retrieving user name\nfrom listbox.", res::programTitle());
  } else {
    const std::string user = item->text(0).toStdString();
    const ui::Answer answer = m_messages.show(ui::Message{
        "Disconnecting may cause loss of data !\nAre you sure you wish to disconnect the user?",
        "Warning", ui::Buttons::YesNo, ui::Icon::Warning, ui::Answer::No});
    if (answer == ui::Answer::Yes && disconnectUser(m_server, user) != platform::NERR_Success) {
      m_messages.ok("FAILED to disconnected user!", user);
    }
  }
  reopen();
}

void ServerInfoDialog::disconnectAllSessions() {
  const ui::Answer answer = m_messages.show(ui::Message{
      "Disconnecting may cause loss of data !\nAre you sure you wish to disconnect\nALL the users "
      "from ALL the resources?",
      "Warning", ui::Buttons::YesNo, ui::Icon::Warning, ui::Answer::No});
  if (answer == ui::Answer::Yes && disconnectAll(m_server, m_sessionRows) != platform::NERR_Success) {
    m_messages.ok("FAILED to disconnected all users!", res::programTitle());
  }
  reopen();
}

void ServerInfoDialog::reopen() {
  emptyLists();
  m_tabs->removeTab(0);
  if (!load()) reject();
}

void ServerInfoDialog::accept() {
  exchange(true);
  for (const auto& failure : writeServerFields(m_fields)) {
    m_messages.ok("Error #" + std::to_string(failure.shown) + ".", failure.caption);
  }
  QDialog::accept();
}

}  // namespace servers
