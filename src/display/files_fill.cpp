// The Files display's fill: the size-per-user and rights-dump lists from
// the Files area, and the access tree from its lines.

#include <QTreeWidget>

#include <array>

#include "display/display_traits.h"
#include "display/files_texts.h"
#include "display/result_display.h"
#include "display/text_table_model.h"
#include "platform/byte_totals.h"

namespace display {
namespace {

using dlgthreads::FilesArea;

FilesForm filesFormOf(const settings::SettingsValues& values) {
  switch (values.f_display_type) {
    case 1: return FilesForm::AccessTree;
    case 2: return FilesForm::RightsDump;
    default: return FilesForm::SizePerUser;
  }
}
using dlgthreads::FilesEntry;

std::vector<TextRow> sizePerUserRows(FilesArea& area, const settings::SettingsValues& settings) {
  std::vector<TextRow> rows;
  for (std::size_t i = 0; i < area.size(); ++i) {
    FilesEntry* e = area.at(i);
    if (e->name.empty()) break;
    if (e->name == "<access denied>" && settings.f_file_denial != 1) continue;
    if (e->name == "<dirlist denied>" && settings.f_directory_denial != 1) continue;
    e->displayMark = 1;
    TextRow row;
    row.cells = {e->name, kilobytesText(e->bytes), std::to_string(e->count),
                 platform::byteTotalText(e->bytes)};
    row.value = static_cast<std::int64_t>(i);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<TextRow> rightsDumpRows(FilesArea& area) {
  std::vector<TextRow> rows;
  for (std::size_t i = 0; i < area.size(); ++i) {
    FilesEntry* e = area.at(i);
    if (e->name.empty()) break;
    e->displayMark = 1;
    TextRow row;
    row.cells = {e->path, e->name, e->rights};
    row.value = static_cast<std::int64_t>(i);
    rows.push_back(std::move(row));
  }
  return rows;
}

// The text of a line after its letter and tabs.
QString afterTabs(std::string_view line, std::size_t* tabs) {
  std::size_t i = 1;
  while (i < line.size() && line[i] == '\t') ++i;
  if (tabs) *tabs = i - 1;
  return QString::fromStdString(std::string(line.substr(i)));
}

}  // namespace

void ResultDisplay::fillFiles(dlgthreads::WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  const FilesForm form = filesFormOf(block.state.settings);
  if (form == FilesForm::AccessTree) return fillAccessTree(block);
  TextTableModel* model = textModel(DisplayType::Files);
  std::size_t count = 0;
  if (model != nullptr) {
    if (model->columns().data() != columnSpecs(DisplayType::Files, form).data()) {
      model->setColumns(columnSpecs(DisplayType::Files, form));
      m_setUp.erase(DisplayType::Files);
      setUpColumns(DisplayType::Files);
    }
    auto rows = form == FilesForm::RightsDump ? rightsDumpRows(block.files)
                                              : sizePerUserRows(block.files, block.state.settings);
    count = rows.size();
    model->setRows(std::move(rows));
  }
  finishFill(DisplayType::Files, {server, std::to_string(count)}, block);
}

void ResultDisplay::fillAccessTree(dlgthreads::WorkerBlock& block) {
  const std::string server = block.state.selectedServer;
  QTreeWidget* tree = m_host.treeView(DisplayType::Files);
  if (tree == nullptr || !block.userNameKnown || !block.accessTreeWalked) {
    // An unknown name, or a user whose groups could not be read, leaves the
    // display as it was.
    finishFill(std::nullopt, {}, block);
    return;
  }
  tree->setUpdatesEnabled(false);
  tree->clear();
  auto* root = new QTreeWidgetItem(tree, QStringList{QStringLiteral("root")});
  root->setIcon(0, m_icons.icon(TreeImage::Root));
  // The item last inserted at each depth, and each depth's mark.
  std::vector<QTreeWidgetItem*> kept(4, root);
  std::vector<int> marks(4, 0);
  const auto keep = [&](std::size_t depth, QTreeWidgetItem* item) {
    if (kept.size() <= depth) {
      kept.resize(depth + 1, nullptr);
      marks.resize(depth + 1, 0);
    }
    kept[depth] = item;
  };
  const auto add = [&](QTreeWidgetItem* parent, QString text, TreeImage image) {
    auto* item = new QTreeWidgetItem(parent ? parent : root, QStringList{std::move(text)});
    item->setIcon(0, m_icons.icon(image));
    return item;
  };
  std::size_t count = 0;
  for (const std::string& line : block.accessTree.lines()) {
    if (line.empty()) break;
    std::size_t tabs = 0;
    switch (line[0]) {
      case 'D': keep(1, add(root, afterTabs(line, &tabs), TreeImage::Domain)); break;
      case 'u': keep(1, add(root, afterTabs(line, &tabs), TreeImage::Provider)); break;
      case 'S': keep(2, add(kept[1], afterTabs(line, &tabs), TreeImage::Server)); break;
      case 'd':
        keep(3, add(kept[2], afterTabs(line, &tabs), TreeImage::DiskShare));
        marks[3] = 0;
        break;
      case 'F': {
        QString text = afterTabs(line, &tabs);
        const bool named = !text.isEmpty() && text.back() == QLatin1Char('Y');
        text.chop(1);
        if (kept.size() <= tabs + 1) {
          kept.resize(tabs + 2, nullptr);
          marks.resize(tabs + 2, 0);
        }
        TreeImage image = TreeImage::DirectoryNotNamed;
        int below = 1;
        if (named && marks[tabs] != 0) {
          image = TreeImage::DirectoryNamedBelow;
          below = 3;
        } else if (named) {
          image = TreeImage::DiskShare;
          below = 0;
        }
        QTreeWidgetItem* parent = kept[tabs] ? kept[tabs] : root;
        keep(tabs + 1, add(parent, std::move(text), image));
        marks[tabs + 1] = below;
        parent->setExpanded(true);
        ++count;
        break;
      }
      case 'f': {
        QString text = afterTabs(line, &tabs);
        const std::size_t depth = tabs + 1;
        QTreeWidgetItem* parent = depth < kept.size() && kept[depth] ? kept[depth] : root;
        keep(depth + 1, add(parent, std::move(text), TreeImage::File));
        ++count;
        break;
      }
      default: break;
    }
  }
  root->setExpanded(true);
  tree->setUpdatesEnabled(true);
  finishFill(DisplayType::Files, {server, std::to_string(count)}, block);
}

}  // namespace display
