#include "display/clipboard_copy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>
#include <QTableView>

#include "display/display_type.h"
#include "display/fill_host.h"
#include "display/list_text.h"
#include "resources/strings.h"
#include "ui/messages.h"

namespace display {
namespace {

void appendLine(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i != 0) out += '\t';
    out += cells[i];
  }
  out += "\r\n";
}

}  // namespace

QTableView* printableList(FillHost& host, DisplayType type) {
  switch (type) {
    case DisplayType::Files:
    case DisplayType::Groups:
    case DisplayType::Quotas:
    case DisplayType::Servers:
    case DisplayType::Users:
    case DisplayType::Licenses:
    case DisplayType::Trusts:
      return host.listView(type);
    case DisplayType::Network:
    case DisplayType::Performance:
    case DisplayType::None:
      break;
  }
  return nullptr;
}

const QTableView* currentPrintableList(FillHost& host) {
  const DisplayType type = host.currentDisplayType();
  if (type == DisplayType::Network) {
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

bool copyToClipboard(FillHost& host) {
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
