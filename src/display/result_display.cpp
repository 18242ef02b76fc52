#include "display/result_display.h"

#include <QHeaderView>
#include <QTableView>

#include <string>
#include <utility>

#include "display/fill_messages.h"
#include "display/group_table_model.h"
#include "display/server_table_model.h"
#include "display/text_table_model.h"
#include "display/user_table_model.h"
#include "platform/netapi.h"
#include "resources/strings.h"
#include "ui/messages.h"

namespace display {
namespace {

using dlgthreads::WorkerBlock;
using dlgthreads::WorkKind;

FilesForm filesFormOf(const settings::SettingsValues& values) {
  switch (values.f_display_type) {
    case 1: return FilesForm::AccessTree;
    case 2: return FilesForm::RightsDump;
    default: return FilesForm::SizePerUser;
  }
}

// The model of `type` on its view: the one already there, or a new one made
// by `make` and parented to the view.
template <class Model, class Make>
Model* modelOnView(QTableView* view, QPointer<Model>& slot, Make make) {
  if (view == nullptr) return nullptr;
  if (slot.isNull()) slot = make(view);
  if (view->model() != slot.data()) view->setModel(slot.data());
  return slot.data();
}

std::string countText(std::size_t count) { return std::to_string(count); }

}  // namespace

ResultDisplay::ResultDisplay(FillHost& host, IconSet icons)
    : m_host(host), m_icons(std::move(icons)) {}

ResultDisplay::~ResultDisplay() = default;

UserTableModel* ResultDisplay::usersModel() {
  return modelOnView(m_host.listView(DisplayType::Users), m_users,
                     [this](QTableView* view) { return new UserTableModel(m_icons, view); });
}

GroupTableModel* ResultDisplay::groupsModel() {
  return modelOnView(m_host.listView(DisplayType::Groups), m_groups,
                     [this](QTableView* view) { return new GroupTableModel(m_icons, view); });
}

ServerTableModel* ResultDisplay::serversModel() {
  return modelOnView(m_host.listView(DisplayType::Servers), m_servers,
                     [this](QTableView* view) { return new ServerTableModel(m_icons, view); });
}

TextTableModel* ResultDisplay::textModel(DisplayType type) {
  QPointer<TextTableModel>* slot = nullptr;
  switch (type) {
    case DisplayType::Files: slot = &m_files; break;
    case DisplayType::Quotas: slot = &m_quotas; break;
    case DisplayType::Licenses: slot = &m_licenses; break;
    case DisplayType::Trusts: slot = &m_trusts; break;
    default: return nullptr;
  }
  const FilesForm form = filesFormOf(m_host.settingsValues());
  TextTableModel* model = modelOnView(m_host.listView(type), *slot, [&](QTableView* view) {
    return new TextTableModel(columnSpecs(type, form), m_icons, view);
  });
  return model;
}

bool ResultDisplay::columnsSetUp(DisplayType type) const {
  switch (type) {
    case DisplayType::Files: return m_filesSetUp;
    case DisplayType::Groups: return m_groupsSetUp;
    case DisplayType::Quotas: return m_quotasSetUp;
    case DisplayType::Servers: return m_serversSetUp;
    case DisplayType::Users: return m_usersSetUp;
    default: return false;
  }
}

void ResultDisplay::requestColumnReset(DisplayType type) {
  switch (type) {
    case DisplayType::Groups: m_groupsSetUp = false; break;
    case DisplayType::Servers: m_serversSetUp = false; break;
    case DisplayType::Users: m_usersSetUp = false; break;
    case DisplayType::Files: break;
    default: return;
  }
  m_resetRequested = true;
}

void ResultDisplay::setUpColumns(DisplayType type) {
  const bool reset = std::exchange(m_resetRequested, false);
  bool* flag = nullptr;
  switch (type) {
    case DisplayType::Files: flag = &m_filesSetUp; break;
    case DisplayType::Groups: flag = &m_groupsSetUp; break;
    case DisplayType::Quotas: flag = &m_quotasSetUp; break;
    case DisplayType::Servers: flag = &m_serversSetUp; break;
    case DisplayType::Users: flag = &m_usersSetUp; break;
    default: return;
  }
  if (type == DisplayType::Files) {
    // The two Files list forms have different columns; showing one form's
    // rows under the other's headers would mislabel every cell, so a change
    // of form sets the columns up again.
    const FilesForm form = filesFormOf(m_host.settingsValues());
    if (form == FilesForm::AccessTree) return;
    if (m_filesForm != form) *flag = false;
  }
  // Columns are never inserted twice here: the models carry a fixed column
  // set, so a first set-up and a reset both just apply the settings.
  if (*flag && !reset) return;
  *flag = true;
  applyColumns(type);
}

void ResultDisplay::applyColumns(DisplayType type) {
  QTableView* view = m_host.listView(type);
  if (view == nullptr) return;
  switch (type) {
    case DisplayType::Groups: groupsModel(); break;
    case DisplayType::Servers: serversModel(); break;
    case DisplayType::Users: usersModel(); break;
    case DisplayType::Files: {
      const FilesForm form = filesFormOf(m_host.settingsValues());
      TextTableModel* model = textModel(type);
      if (model != nullptr && model->columns().data() != columnSpecs(type, form).data())
        model->setColumns(columnSpecs(type, form));
      m_filesForm = form;
      break;
    }
    default: textModel(type); break;
  }
  QHeaderView* header = view->horizontalHeader();
  const std::vector<ColumnLayout> layout = columnLayout(type, m_host.settingsValues());
  for (int i = 0; i < static_cast<int>(layout.size()); ++i) {
    const ColumnLayout& column = layout[static_cast<std::size_t>(i)];
    if (column.hidden()) {
      header->hideSection(i);
    } else {
      header->showSection(i);
      header->resizeSection(i, column.width);
    }
  }
}

void ResultDisplay::fill(WorkerBlock& block) {
  switch (block.kind) {
    case WorkKind::Users: fillUsers(block); return;
    case WorkKind::Groups: fillGroups(block); return;
    case WorkKind::Servers: fillServers(block); return;
    case WorkKind::Licenses: fillLicenses(block); return;
    case WorkKind::Files:
    case WorkKind::Network:
    case WorkKind::Performance:
      // Not filled yet: the browse still ends cleanly, texts unchanged.
      finishFill(std::nullopt, {}, block.state.selectedServer);
      return;
  }
  showMessage(kUnknownThreadText);
  finishFill(std::nullopt, {}, block.state.selectedServer);
}

void ResultDisplay::fillUsers(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  UserTableModel* model = usersModel();
  if (model == nullptr || !block.users.hasArray()) {
    if (model != nullptr) model->clear();
    finishFill(DisplayType::Users, {server, countText(0)}, server);
    return;
  }
  const auto all = block.users.withEnd();
  if (!all.empty() && isErrorRecord(all.front().name)) {
    model->clear();
    showMessage(kCannotBrowseText);
    finishFill(DisplayType::Users, {server, countText(0)}, server);
    return;
  }
  model->adopt(std::exchange(block.users, {}));
  finishFill(DisplayType::Users, {server, countText(model->recordCount())}, server);
}

void ResultDisplay::fillGroups(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  GroupTableModel* model = groupsModel();
  if (model == nullptr || !block.groups.hasArray()) {
    if (model != nullptr) model->clear();
    finishFill(DisplayType::Groups, {server, countText(0)}, server);
    return;
  }
  const auto all = block.groups.withEnd();
  if (!all.empty() && isErrorRecord(all.front().name)) {
    model->clear();
    showMessage(kCannotBrowseText);
    finishFill(DisplayType::Groups, {server, countText(0)}, server);
    return;
  }
  model->adopt(std::exchange(block.groups, {}), m_host.settingsValues().g_show_members == 1);
  // Member records count even when their lines are not shown.
  finishFill(DisplayType::Groups, {server, countText(model->recordCount())}, server);
}

void ResultDisplay::fillServers(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  ServerTableModel* model = serversModel();
  if (model == nullptr || !block.servers.hasArray()) {
    if (model != nullptr) model->clear();
    finishFill(DisplayType::Servers, {server, countText(0)}, server);
    return;
  }
  const auto all = block.servers.withEnd();
  if (!all.empty() && isErrorRecord(all.front().name)) {
    model->clear();
    showMessage(kCannotBrowseText);
    finishFill(DisplayType::Servers, {server, countText(0)}, server);
    return;
  }
  model->adopt(std::exchange(block.servers, {}));
  finishFill(DisplayType::Servers,
             {server, countText(static_cast<std::size_t>(model->rowCount()))}, server);
}

void ResultDisplay::fillLicenses(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  if (TextTableModel* model = textModel(DisplayType::Licenses)) model->clear();
  finishFill(DisplayType::Licenses, {server, countText(0)}, server);
}

void ResultDisplay::finishFill(std::optional<DisplayType> filled, DisplayTexts texts,
                               const std::string& browseServer) {
  m_host.endBusy();
  if (!m_host.enableFirstEditItem()) showMessage(kEditMenuMissingText);
  if (filled) {
    // The domain goes in front of the display's own fresh server text only,
    // so a display whose texts were not refreshed never collects a second
    // prefix.
    platform::NetBuffer buffer;
    if (platform::NetUserModalsGet(browseServer, 2, buffer) == 0) {
      const auto modals = buffer.get<platform::USER_MODALS_INFO_2>();
      if (!modals.empty()) texts.server = modals.front().usrmod2_domain_name + texts.server;
    }
    m_host.setDisplayTexts(*filled, std::move(texts));
  }
  m_host.showStatusTexts(m_host.displayTexts(m_host.currentDisplayType()));
}

void ResultDisplay::showMessage(std::string_view text) {
  m_host.messages().ok(std::string(text), res::programTitle());
}

}  // namespace display
