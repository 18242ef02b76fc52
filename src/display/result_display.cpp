#include "display/result_display.h"

#include "display/network_tree_fill.h"

#include <QHeaderView>
#include <QTableView>

#include <string>
#include <type_traits>
#include <utility>

#include "display/fill_messages.h"
#include "display/full_text_tool_tips.h"
#include "display/group_table_model.h"
#include "display/quota_table_model.h"
#include "display/server_table_model.h"
#include "display/text_table_model.h"
#include "display/user_table_model.h"
#include "display/display_traits.h"
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
  if (slot.isNull()) {
    slot = make(view);
    if (!qobject_cast<FullTextToolTips*>(view->itemDelegate()))
      view->setItemDelegate(new FullTextToolTips(view));
  }
  if (view->model() != slot.data()) view->setModel(slot.data());
  return slot.data();
}

std::string countText(std::size_t count) { return std::to_string(count); }

}  // namespace

ResultDisplay::ResultDisplay(FillHost& host, IconSet icons)
    : m_host(host), m_icons(std::move(icons)) {}

ResultDisplay::~ResultDisplay() {
  for (const QMetaObject::Connection& c : m_headerConnections) QObject::disconnect(c);
}

void ResultDisplay::watchHeaderClicks(DisplayType type) {
  QTableView* view = m_host.listView(type);
  if (view == nullptr || m_sortClicks.contains(type)) return;
  m_sortClicks.emplace(type, sorting::ClickState{});
  // The list sorts on the program's own comparisons; the view's sorting
  // would compare the shown texts instead.
  view->setSortingEnabled(false);
  view->horizontalHeader()->setSectionsClickable(true);
  m_headerConnections.push_back(QObject::connect(
      view->horizontalHeader(), &QHeaderView::sectionClicked, view,
      [this, type](int column) { sortByColumn(type, column); }));
}

void ResultDisplay::sortByColumn(DisplayType type, int column) {
  const auto state = m_sortClicks.find(type);
  if (state == m_sortClicks.end()) return;
  const sorting::Routine routine = state->second.click(column);
  const auto sortWith = [&](auto* model, auto compare, bool (*ordered)(int)) {
    if (model == nullptr || !ordered(column)) return;
    using Record = std::decay_t<decltype(*model->recordAt(0))>;
    model->sortRows([&](const Record& a, const Record& b) {
      const int order = *compare(a, b, column);
      return routine == sorting::Routine::First ? order : -order;
    });
  };
  switch (traitsOf(type).model) {
    case ModelKind::Users: sortWith(m_users.data(), &sorting::compareUsers, &sorting::usersColumnOrdered); break;
    case ModelKind::Groups: sortWith(m_groups.data(), &sorting::compareGroups, &sorting::groupsColumnOrdered); break;
    case ModelKind::Servers: sortWith(m_servers.data(), &sorting::compareServers, &sorting::serversColumnOrdered); break;
    case ModelKind::Quotas: sortWith(m_quotas.data(), &sorting::compareQuotas, &sorting::quotasColumnOrdered); break;
    case ModelKind::Text:
    case ModelKind::None: break;
  }
}

UserTableModel* ResultDisplay::usersModel() {
  watchHeaderClicks(DisplayType::Users);
  return modelOnView(m_host.listView(DisplayType::Users), m_users,
                     [this](QTableView* view) { return new UserTableModel(m_icons, view); });
}

GroupTableModel* ResultDisplay::groupsModel() {
  watchHeaderClicks(DisplayType::Groups);
  return modelOnView(m_host.listView(DisplayType::Groups), m_groups,
                     [this](QTableView* view) { return new GroupTableModel(m_icons, view); });
}

ServerTableModel* ResultDisplay::serversModel() {
  watchHeaderClicks(DisplayType::Servers);
  return modelOnView(m_host.listView(DisplayType::Servers), m_servers,
                     [this](QTableView* view) { return new ServerTableModel(m_icons, view); });
}

QuotaTableModel* ResultDisplay::quotasModel() {
  watchHeaderClicks(DisplayType::Quotas);
  return modelOnView(m_host.listView(DisplayType::Quotas), m_quotas,
                     [this](QTableView* view) { return new QuotaTableModel(m_icons, view); });
}

TextTableModel* ResultDisplay::textModel(DisplayType type) {
  if (traitsOf(type).model != ModelKind::Text) return nullptr;
  const FilesForm form = filesFormOf(m_host.settingsValues());
  return modelOnView(m_host.listView(type), m_textModels[type], [&](QTableView* view) {
    return new TextTableModel(columnSpecs(type, form), m_icons, view);
  });
}

void ResultDisplay::forgetColumns(DisplayType type) {
  m_setUp.erase(type);
  // The other lists keep their records: their columns are fixed and only
  // shown or hidden. Files rows belong to the form they were gathered under.
  if (type == DisplayType::Files)
    if (auto it = m_textModels.find(type); it != m_textModels.end() && it->second)
      it->second->clear();
}

bool ResultDisplay::columnsSetUp(DisplayType type) const { return m_setUp.contains(type); }

void ResultDisplay::requestColumnReset(DisplayType type) {
  switch (traitsOf(type).columnReset) {
    case ColumnReset::ResetAndSetUp: m_setUp.erase(type); break;
    case ColumnReset::RecordOnly: break;
    case ColumnReset::None: return;
  }
  m_resetRequested = true;
}

void ResultDisplay::setUpColumns(DisplayType type) {
  const bool reset = std::exchange(m_resetRequested, false);
  if (!traitsOf(type).columnsRemembered) return;
  if (type == DisplayType::Files) {
    // The two Files list forms have different columns; showing one form's
    // rows under the other's headers would mislabel every cell, so a change
    // of form sets the columns up again.
    const FilesForm form = filesFormOf(m_host.settingsValues());
    if (form == FilesForm::AccessTree) return;
    if (m_filesForm != form) m_setUp.erase(type);
  }
  // Columns are never inserted twice here: the models carry a fixed column
  // set, so a first set-up and a reset both just apply the settings.
  if (m_setUp.contains(type) && !reset) return;
  m_setUp.insert(type);
  applyColumns(type);
}

void ResultDisplay::applyColumns(DisplayType type) {
  QTableView* view = m_host.listView(type);
  if (view == nullptr) return;
  switch (traitsOf(type).model) {
    case ModelKind::Groups: groupsModel(); break;
    case ModelKind::Servers: serversModel(); break;
    case ModelKind::Users: usersModel(); break;
    case ModelKind::Quotas: quotasModel(); break;
    case ModelKind::Text: {
      TextTableModel* model = textModel(type);
      if (type == DisplayType::Files) {
        const FilesForm form = filesFormOf(m_host.settingsValues());
        if (model != nullptr && model->columns().data() != columnSpecs(type, form).data())
          model->setColumns(columnSpecs(type, form));
        m_filesForm = form;
      }
      break;
    }
    case ModelKind::None: break;
  }
  QHeaderView* header = view->horizontalHeader();
  const std::vector<ColumnLayout> layout = columnLayout(type, m_host.settingsValues());
  const int charWidth = view->fontMetrics().averageCharWidth();
  for (int i = 0; i < static_cast<int>(layout.size()); ++i) {
    const ColumnLayout& column = layout[static_cast<std::size_t>(i)];
    if (column.hidden()) {
      header->hideSection(i);
    } else {
      header->showSection(i);
      header->resizeSection(i, scaledColumnWidth(column.width, charWidth));
    }
  }
}

void ResultDisplay::fill(WorkerBlock& block) {
  const DisplayTraits* traits = traitsOfWork(block.kind);
  if (traits == nullptr) {
    showMessage(kUnknownThreadText);
    finishFill(std::nullopt, {}, block);
    return;
  }
  if (traits->type == DisplayType::Files &&
      filesFormOf(block.state.settings) == FilesForm::AccessTree && !block.userNameKnown)
    showMessage(kUserUnknownText);
  switch (traits->fill) {
    case FillKind::Users: fillUsers(block); return;
    case FillKind::Groups: fillGroups(block); return;
    case FillKind::Servers: fillServers(block); return;
    case FillKind::Quotas: fillQuotas(block); return;
    case FillKind::Files: fillFiles(block); return;
    case FillKind::Network: fillNetwork(block); return;
    case FillKind::Performance: fillPerformance(block); return;
    case FillKind::Empty:
      if (TextTableModel* model = textModel(traits->type)) model->clear();
      finishFill(traits->type, {block.state.selectedServer, countText(0)}, block);
      return;
    case FillKind::NotYet:
      // The browse still ends cleanly, texts unchanged.
      finishFill(std::nullopt, {}, block);
      return;
  }
}

void ResultDisplay::fillUsers(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  UserTableModel* model = usersModel();
  if (model == nullptr || !block.users.hasArray()) {
    if (model != nullptr) model->clear();
    finishFill(DisplayType::Users, {server, countText(0)}, block);
    return;
  }
  const auto all = block.users.withEnd();
  if (!all.empty() && isErrorRecord(all.front().name)) {
    model->clear();
    showMessage(kCannotBrowseText);
    finishFill(DisplayType::Users, {server, countText(0)}, block);
    return;
  }
  model->adopt(std::exchange(block.users, {}));
  finishFill(DisplayType::Users, {server, countText(model->recordCount())}, block);
}

void ResultDisplay::fillGroups(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  GroupTableModel* model = groupsModel();
  if (model == nullptr || !block.groups.hasArray()) {
    if (model != nullptr) model->clear();
    finishFill(DisplayType::Groups, {server, countText(0)}, block);
    return;
  }
  const auto all = block.groups.withEnd();
  if (!all.empty() && isErrorRecord(all.front().name)) {
    model->clear();
    showMessage(kCannotBrowseText);
    finishFill(DisplayType::Groups, {server, countText(0)}, block);
    return;
  }
  model->adopt(std::exchange(block.groups, {}), m_host.settingsValues().g_show_members == 1);
  // Member records count even when their lines are not shown.
  finishFill(DisplayType::Groups, {server, countText(model->recordCount())}, block);
}

void ResultDisplay::fillServers(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  ServerTableModel* model = serversModel();
  if (model == nullptr || !block.servers.hasArray()) {
    if (model != nullptr) model->clear();
    finishFill(DisplayType::Servers, {server, countText(0)}, block);
    return;
  }
  const auto all = block.servers.withEnd();
  if (!all.empty() && isErrorRecord(all.front().name)) {
    model->clear();
    showMessage(kCannotBrowseText);
    finishFill(DisplayType::Servers, {server, countText(0)}, block);
    return;
  }
  model->adopt(std::exchange(block.servers, {}));
  finishFill(DisplayType::Servers,
             {server, countText(static_cast<std::size_t>(model->rowCount()))}, block);
}

void ResultDisplay::fillQuotas(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  QuotaTableModel* model = quotasModel();
  if (model == nullptr) {
    finishFill(DisplayType::Quotas, {server, countText(0)}, block);
    return;
  }
  // No array means no entries (an unreachable registry was reported by the
  // worker): the list is emptied either way.
  if (block.quotas.hasArray())
    model->adopt(std::exchange(block.quotas, {}));
  else
    model->clear();
  finishFill(DisplayType::Quotas, {server, countText(model->recordCount())}, block);
}

void ResultDisplay::fillNetwork(WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  QTreeWidget* tree = m_host.treeView(DisplayType::Network);
  if (tree) fillNetworkTree(*tree, block.network.lines(), m_host.settingsValues());
  if (block.networkLinesDropped) {
    showMessage("The network holds more than " + std::to_string(dlgthreads::kNetworkLines) +
                " entries: the Network display shows the first " +
                std::to_string(dlgthreads::kNetworkLines) + ".");
  }
  finishFill(DisplayType::Network, {server, countText(block.network.used())}, block);
}

void ResultDisplay::fillPerformance(WorkerBlock& block) {
  QTreeWidget* tree = m_host.treeView(DisplayType::Performance);
  if (tree) fillPerformanceTree(*tree, block.performance.lines());
  finishFill(DisplayType::Performance,
             {block.state.selectedServer, countText(block.performance.used())}, block);
}

void ResultDisplay::finishFill(std::optional<DisplayType> filled, DisplayTexts texts,
                               const WorkerBlock& block) {
  m_host.endBusy();
  if (!m_host.enableFirstEditItem()) showMessage(kEditMenuMissingText);
  if (filled) {
    // The domain goes in front of the display's own fresh server text only,
    // so a display whose texts were not refreshed never collects a second
    // prefix. The worker read it: this thread must not wait for a server.
    texts.server = block.domainName + texts.server;
    m_host.setDisplayTexts(*filled, std::move(texts));
  }
  m_host.showStatusTexts(m_host.displayTexts(m_host.currentDisplayType()));
}

void ResultDisplay::showMessage(std::string_view text) {
  m_host.messages().ok(std::string(text), res::programTitle());
}

}  // namespace display
