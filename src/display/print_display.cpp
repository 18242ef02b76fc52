#include "display/print_display.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableView>

#include <algorithm>
#include <vector>

#include "display/clipboard_copy.h"
#include "display/display_views.h"
#include "display/list_text.h"

namespace display {

using namespace print_layout;

bool QtPrintChooser::choose(QPrinter& printer) {
  QPrintDialog dialog(&printer, m_owner);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  return dialog.exec() == QDialog::Accepted;
}

bool PdfPrintChooser::choose(QPrinter& printer) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(m_path);
  return true;
}

int rowsPerPage(int pageHeight) {
  return std::max(1, (pageHeight - kFirstRowY) / kRowPitch);
}

namespace {

// Where the printed columns stand, left to right.
struct PrintedColumn {
  int column = 0;
  int x = 0;
  int width = 0;
};

std::vector<PrintedColumn> placeColumns(const ListColumns& columns) {
  std::vector<PrintedColumn> placed;
  int x = kFirstColumnX;
  for (std::size_t c = 0; c < columns.titles.size(); ++c) {
    if (columns.hidden[c]) continue;
    const int width = columns.widths[c] * kWidthScale;
    placed.push_back({static_cast<int>(c), x, width});
    x += width;
  }
  return placed;
}

// One line of texts, each cut to its column so that a long text never runs
// into the next column.
void drawLine(QPainter& painter, const std::vector<PrintedColumn>& placed,
              const std::vector<QString>& texts, int y) {
  const QFontMetrics metrics = painter.fontMetrics();
  for (const PrintedColumn& p : placed) {
    const QString& text = texts[static_cast<std::size_t>(p.column)];
    const int room = std::max(0, p.width - kWidthScale * 2);
    painter.drawText(QRect(p.x, y, room, kRowPitch), Qt::AlignLeft | Qt::AlignTop,
                     metrics.elidedText(text, Qt::ElideRight, room));
  }
}

std::vector<QString> toTexts(const std::vector<std::string>& cells) {
  std::vector<QString> texts;
  texts.reserve(cells.size());
  for (const std::string& cell : cells)
    texts.push_back(QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size())));
  return texts;
}

}  // namespace

int printList(const QTableView& view, QPrinter& printer) {
  const ListColumns columns = listColumns(view);
  const std::vector<int> rows = listRowsInViewOrder(view);
  const std::vector<PrintedColumn> placed = placeColumns(columns);
  const std::vector<QString> titles = toTexts(columns.titles);

  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  const double scale = static_cast<double>(printer.resolution()) / kUnitsPerInch;
  painter.scale(scale, scale);
  QFont font = painter.font();
  font.setPixelSize(kRowPitch * 3 / 4);
  painter.setFont(font);

  const int pageHeight = static_cast<int>(printer.height() / scale);
  const int pageWidth = static_cast<int>(printer.width() / scale);
  const int perPage = rowsPerPage(pageHeight);
  const int pages = std::max<int>(1, (static_cast<int>(rows.size()) + perPage - 1) / perPage);

  std::vector<std::string> cells;
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !printer.newPage()) {
      printer.abort();
      painter.end();
      return 0;
    }
    drawLine(painter, placed, titles, kHeaderY);
    painter.drawLine(kRuleLeft, kRuleY, std::min(kRuleRight, pageWidth), kRuleY);
    const auto first = static_cast<std::size_t>(page) * static_cast<std::size_t>(perPage);
    const auto last = std::min(rows.size(), first + static_cast<std::size_t>(perPage));
    for (std::size_t i = first; i < last; ++i) {
      listRowCells(view, rows[i], cells);
      drawLine(painter, placed, toTexts(cells),
               kFirstRowY + kRowPitch * static_cast<int>(i - first));
    }
  }
  if (!painter.end()) return 0;
  return pages;
}

bool printDisplay(DisplayViews& host, PrintChooser& chooser) {
  const QTableView* view = currentPrintableList(host);
  if (!view) return false;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromLatin1(kPrintDocumentName));
  if (!chooser.choose(printer)) return false;
  return printList(*view, printer) > 0;
}

}  // namespace display
