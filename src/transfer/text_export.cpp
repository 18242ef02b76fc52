#include "transfer/text_export.h"

#include <utility>
#include <vector>

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

}  // namespace

ExportResult writeListText(const ListSource& list, const std::string& path, char separator,
                           CellQuoting quoting) {
  TextFile file(path);
  if (ExportResult opened = file.open(); !opened.ok()) return opened;
  const std::vector<bool> hidden = list.hidden();
  appendListLine(file.buffer(), list.titles(), hidden, separator, quoting);
  std::vector<std::string> cells;
  for (std::size_t row = 0; row < list.rowCount(); ++row) {
    list.rowCells(row, cells);
    appendListLine(file.buffer(), cells, hidden, separator, quoting);
    if (!file.flush()) return file.fail();
  }
  return file.commit();
}

ExportResult writeTreeText(const std::vector<TreeText>& tree, const std::string& path) {
  TextFile file(path);
  if (ExportResult opened = file.open(); !opened.ok()) return opened;
  for (const TreeText& node : tree) {
    appendTreeLine(file.buffer(), node.depth, node.text);
    if (!file.flush()) return file.fail();
  }
  return file.commit();
}

}  // namespace transfer
