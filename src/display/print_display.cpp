#include "display/print_display.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTableView>

#include <algorithm>
#include <string>
#include <vector>

#include "display/clipboard_copy.h"
#include "display/display_views.h"
#include "display/list_text.h"
#include "platform/file_replacement.h"

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

std::vector<std::vector<std::size_t>> columnBands(const std::vector<int>& widths, int pageWidth) {
  std::vector<std::vector<std::size_t>> bands;
  std::size_t next = 0;
  while (next < widths.size()) {
    std::vector<std::size_t> band;
    int x = kFirstColumnX;
    // Later bands repeat the first column when one more column fits beside it.
    if (!bands.empty() && x + widths[0] + widths[next] <= pageWidth) {
      band.push_back(0);
      x += widths[0];
    }
    while (next < widths.size() && (band.empty() || x + widths[next] <= pageWidth)) {
      x += widths[next];
      band.push_back(next++);
    }
    bands.push_back(std::move(band));
  }
  if (bands.empty()) bands.emplace_back();  // no column: the header rule still prints
  return bands;
}

namespace {

// Where the printed columns stand, left to right.
struct PrintedColumn {
  int column = 0;
  int x = 0;
  int width = 0;
};

using Band = std::vector<PrintedColumn>;

// The bands of the list's printed columns, each placed from the left margin.
std::vector<Band> placeBands(const ListColumns& columns, int pageWidth) {
  std::vector<int> printed;  // list column of each printed column
  std::vector<int> widths;
  for (std::size_t c = 0; c < columns.titles.size(); ++c) {
    if (columns.hidden[c]) continue;
    printed.push_back(static_cast<int>(c));
    widths.push_back(columns.widths[c] * kWidthScale);
  }
  std::vector<Band> bands;
  for (const auto& indexes : columnBands(widths, pageWidth)) {
    Band band;
    int x = kFirstColumnX;
    for (std::size_t i : indexes) {
      band.push_back({printed[i], x, widths[i]});
      x += widths[i];
    }
    bands.push_back(std::move(band));
  }
  return bands;
}

// The printed width of the list, from the left margin on.
int printedWidth(const ListColumns& columns) {
  int width = kFirstColumnX;
  for (std::size_t c = 0; c < columns.titles.size(); ++c)
    if (!columns.hidden[c]) width += columns.widths[c] * kWidthScale;
  return width;
}

// One line of texts, each cut to its column so that a long text never runs
// into the next column.
void drawLine(QPainter& painter, const Band& placed, const std::vector<QString>& texts, int y) {
  const QFontMetrics metrics = painter.fontMetrics();
  for (const PrintedColumn& p : placed) {
    // The window paints between pages, so a browse that ends meanwhile may
    // have changed the list under the print: a missing cell prints empty.
    if (static_cast<std::size_t>(p.column) >= texts.size()) continue;
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

// The printable width of a portrait page of the printer's paper, in print units.
int portraitWidth(const QPrinter& printer) {
  const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Inch);
  return static_cast<int>(std::min(paint.width(), paint.height()) * kUnitsPerInch);
}

}  // namespace

namespace {

// A print to a file fills a fresh file beside it, put in place only when
// every page is printed: a cancelled or failed print leaves the file that
// was there (or none), never a complete-looking part of the list.
class PrintFile {
 public:
  explicit PrintFile(QPrinter& printer) : m_printer(printer), m_target(printer.outputFileName()) {
    if (m_target.isEmpty()) return;
    platform::ReplacementOptions options;
    options.alwaysTemporary = true;
    m_opened = m_file.open(m_target.toStdString(), options);
    if (m_opened) m_printer.setOutputFileName(QString::fromStdString(m_file.temporaryPath()));
  }
  ~PrintFile() {
    if (!m_target.isEmpty()) m_printer.setOutputFileName(m_target);
  }
  PrintFile(const PrintFile&) = delete;
  PrintFile& operator=(const PrintFile&) = delete;

  // False when the file cannot even be made.
  bool usable() const { return m_target.isEmpty() || m_opened; }
  // The print is whole: it replaces the file (false when that fails).
  bool keep() { return m_target.isEmpty() || m_file.commit(); }

 private:
  QPrinter& m_printer;
  QString m_target;
  platform::FileReplacement m_file;
  bool m_opened = false;
};

}  // namespace

int printList(const QTableView& view, QPrinter& printer, const PrintProgress& progress,
              bool* cancelled) {
  if (cancelled) *cancelled = false;
  PrintFile file(printer);
  if (!file.usable()) return 0;
  const ListColumns columns = listColumns(view);
  const std::vector<int> rows = listRowsInViewOrder(view);
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
  const std::vector<Band> bands = placeBands(columns, pageWidth);
  const int perPage = rowsPerPage(pageHeight);
  const int rowPages = std::max<int>(1, (static_cast<int>(rows.size()) + perPage - 1) / perPage);
  const int pages = rowPages * static_cast<int>(bands.size());

  std::vector<std::string> cells;
  std::vector<std::vector<QString>> pageTexts;
  int page = 0;
  for (int rowPage = 0; rowPage < rowPages; ++rowPage) {
    const auto first = static_cast<std::size_t>(rowPage) * static_cast<std::size_t>(perPage);
    const auto last = std::min(rows.size(), first + static_cast<std::size_t>(perPage));
    // The rows of one page are read once for all its bands.
    pageTexts.clear();
    for (std::size_t i = first; i < last; ++i) {
      listRowCells(view, rows[i], cells);
      pageTexts.push_back(toTexts(cells));
    }
    for (const Band& band : bands) {
      if (page > 0 && !printer.newPage()) {
        printer.abort();
        painter.end();
        return 0;
      }
      drawLine(painter, band, titles, kHeaderY);
      painter.drawLine(kRuleLeft, kRuleY, std::min(kRuleRight, pageWidth), kRuleY);
      for (std::size_t i = 0; i < pageTexts.size(); ++i)
        drawLine(painter, band, pageTexts[i], kFirstRowY + kRowPitch * static_cast<int>(i));
      ++page;
      if (progress && !progress(page, pages)) {
        printer.abort();
        painter.end();
        if (cancelled) *cancelled = true;
        return 0;
      }
    }
  }
  if (!painter.end()) return 0;
  return file.keep() ? pages : 0;
}

PrintResult printDisplay(DisplayViews& host, PrintChooser& chooser) {
  const QTableView* view = currentPrintableList(host);
  if (!view) return {};
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromLatin1(kPrintDocumentName));
  // Landscape first for a list that portrait would split into more pages
  // across; the dialog still lets the user choose.
  if (printedWidth(listColumns(*view)) > portraitWidth(printer))
    printer.setPageOrientation(QPageLayout::Landscape);
  if (!chooser.choose(printer)) return {};

  // Window-modal, so nothing in the window changes the list while it
  // prints; setValue lets the window paint between pages.
  QProgressDialog progress(QStringLiteral("Printing..."), QStringLiteral("Cancel"), 0, 1,
                           view->window());
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setAutoClose(false);
  PrintResult result;
  result.pages = printList(*view, printer,
                           [&progress](int done, int total) {
                             progress.setMaximum(total);
                             progress.setLabelText(
                                 QStringLiteral("Printing page %1 of %2...").arg(done).arg(total));
                             progress.setValue(done);
                             return !progress.wasCanceled();
                           },
                           &result.cancelled);
  return result;
}

std::string printedNote(const PrintResult& result) {
  if (result.cancelled) return "Printing cancelled";
  if (result.pages <= 0) return {};
  return result.pages == 1 ? "Printed 1 page" : "Printed " + std::to_string(result.pages) + " pages";
}

}  // namespace display
