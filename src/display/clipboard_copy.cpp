#include "display/clipboard_copy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>
#include <QTableView>

#include "window/display_type.h"
#include "session/display_traits.h"
#include "display/display_views.h"
#include "display/list_text.h"
#include "display/tab_text.h"
#include "resources/strings.h"
#include "ui/messages.h"

namespace display {
namespace {

void appendLine(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i != 0) out += '\t';
    appendTabCell(out, cells[i]);
  }
  out += "\r\n";
}

}  // namespace

QTableView* printableList(DisplayViews& host, DisplayType type) {
  return traitsOf(type).listCopied ? host.listView(type) : nullptr;
}

const QTableView* currentPrintableList(DisplayViews& host) {
  const DisplayType type = host.currentDisplayType();
  if (!traitsOf(type).exportable) {
    host.messages().ok(std::string(kNotSupportedText), res::programTitle());
    return nullptr;
  }
  return printableList(host, type);
}

std::string clipboardText(const QTableView& view) {
  std::string text;
  appendLine(text, listColumns(view).titles);
  std::vector<std::string> cells;
  for (int row : listRowsInViewOrder(view)) {
    listRowCells(view, row, cells);
    appendLine(text, cells);
  }
  return text;
}

bool copyToClipboard(DisplayViews& host) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) {
    host.messages().ok("Cannot open the Clipboard", res::programTitle());
    return false;
  }
  clipboard->clear();
  const QTableView* view = currentPrintableList(host);
  if (!view) return false;
  const std::string text = clipboardText(*view);
  clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  return true;
}

}  // namespace display
