#include "transfer/text_export.h"

#include <QTableView>
#include <QTreeWidget>

#include <utility>
#include <vector>

#include "display/list_text.h"
#include "platform/file_replacement.h"
#include "transfer/text_lines.h"

namespace transfer {
namespace {

// Lines gather in a buffer that goes to the file in large pieces.
constexpr std::size_t kFlushSize = 64 * 1024;

class TextFile {
 public:
  explicit TextFile(const std::string& path) : m_path(path) {}

  ExportResult open() {
    if (m_file.open(m_path)) return {};
    return {ExportError::CannotCreateFile, m_file.reason()};
  }

  std::string& buffer() { return m_buffer; }

  // Writes the buffer out when it is large (or `force`); false on failure.
  bool flush(bool force = false) {
    if (m_buffer.empty() || (!force && m_buffer.size() < kFlushSize)) return true;
    const bool written = m_file.write(m_buffer);
    m_buffer.clear();
    return written;
  }

  ExportResult commit() {
    if (flush(true) && m_file.commit()) return {};
    return fail();
  }

  // What was written is dropped; the file that was there stays.
  ExportResult fail() {
    m_file.discard();
    return {ExportError::WriteFailed, m_file.reason()};
  }

 private:
  std::string m_path;
  platform::FileReplacement m_file;
  std::string m_buffer;
};

// Every node of the tree, depth first: a node, its children, then its next
// sibling.
bool writeNodes(TextFile& file, const QTreeWidget& tree) {
  std::vector<std::pair<const QTreeWidgetItem*, int>> pending;
  for (int i = tree.topLevelItemCount() - 1; i >= 0; --i)
    pending.emplace_back(tree.topLevelItem(i), 0);
  while (!pending.empty()) {
    const auto [item, depth] = pending.back();
    pending.pop_back();
    appendTreeLine(file.buffer(), depth, item->text(0).toStdString());
    if (!file.flush()) return false;
    for (int i = item->childCount() - 1; i >= 0; --i)
      pending.emplace_back(item->child(i), depth + 1);
  }
  return true;
}

}  // namespace

ExportResult writeListText(const QTableView& view, const std::string& path, char separator,
                           CellQuoting quoting) {
  TextFile file(path);
  if (ExportResult opened = file.open(); !opened.ok()) return opened;
  const display::ListColumns columns = display::listColumns(view);
  appendListLine(file.buffer(), columns.titles, columns.hidden, separator, quoting);
  std::vector<std::string> cells;
  for (int row : display::listRowsInViewOrder(view)) {
    display::listRowCells(view, row, cells);
    appendListLine(file.buffer(), cells, columns.hidden, separator, quoting);
    if (!file.flush()) return file.fail();
  }
  return file.commit();
}

ExportResult writeTreeText(const QTreeWidget& tree, const std::string& path) {
  TextFile file(path);
  if (ExportResult opened = file.open(); !opened.ok()) return opened;
  if (!writeNodes(file, tree)) return file.fail();
  return file.commit();
}

}  // namespace transfer
