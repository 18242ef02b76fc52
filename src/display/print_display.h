#pragma once
// The Print command (57607, bound to Ctrl+P by the window; no menu item
// offers it): the current list, as displayed, on paper.
//
// Entry point for the window:
//   display::QtPrintChooser chooser(window);
//   display::printDisplay(host, chooser);   // host: the window's DisplayViews
//
// The document is named "Veltrane output". Each page carries the header
// texts, a rule under them and as many rows as fit; the rows continue on
// further pages. Hidden columns are not printed; the printed columns stand
// one after another, each as wide as four times its width in the list, in
// units of 1/600 inch. A list too wide for a portrait page is offered in
// landscape, and columns that still do not fit go onto further pages (each
// repeating the first column, so a row can be told on every page), never
// dropped. A long print shows its progress with a Cancel button and keeps
// the window painting. The Network display is refused with a message
// (before any dialog); Performance and displays that match no tab print
// nothing.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/print_chooser.h"

class QPrinter;
class QTableView;

namespace display {

class DisplayViews;

using ui::PrintChooser;

// The platform's print dialog (QPrintDialog), without selection or page
// range choices: the whole list is always printed.
class QtPrintChooser final : public PrintChooser {
 public:
  explicit QtPrintChooser(QWidget* owner = nullptr) : m_owner(owner) {}
  bool choose(QPrinter& printer) override;
  void setOwner(QWidget* owner) override { m_owner = owner; }

 private:
  QPointer<QWidget> m_owner;
};

// Prints into a PDF file without asking (tests; runs without printers).
class PdfPrintChooser final : public PrintChooser {
 public:
  explicit PdfPrintChooser(QString path) : m_path(std::move(path)) {}
  bool choose(QPrinter& printer) override;

 private:
  QString m_path;
};

inline constexpr const char* kPrintDocumentName = "Veltrane output";

// The page layout, in units of 1/600 inch from the page's printable corner.
namespace print_layout {
inline constexpr int kHeaderY = 50;
inline constexpr int kRuleY = 110;
inline constexpr int kRuleLeft = 80;
inline constexpr int kRuleRight = 10000;
inline constexpr int kFirstRowY = 120;
inline constexpr int kRowPitch = 66;
inline constexpr int kFirstColumnX = 80;
inline constexpr int kWidthScale = 4;  // print units per list pixel
inline constexpr int kUnitsPerInch = 600;
}  // namespace print_layout

// The rows one page holds for a printable height of `pageHeight` units.
int rowsPerPage(int pageHeight);

// The printed columns each page across holds, given their widths in print
// units (in print order) and the printable width of a page: indexes into
// `widths`. Every column is in some band; a band after the first starts
// with column 0 again when another column fits beside it; a column wider
// than the page stands alone (cut at the page's edge).
std::vector<std::vector<std::size_t>> columnBands(const std::vector<int>& widths, int pageWidth);

// Called after each page with the pages done and the pages in all; false
// cancels the print.
using PrintProgress = std::function<bool(int done, int total)>;

// Prints the list onto a printer that is set up. Returns the number of
// pages printed, 0 when the document could not be started, was aborted or
// was cancelled (then `*cancelled` is set).
int printList(const QTableView& view, QPrinter& printer, const PrintProgress& progress = {},
              bool* cancelled = nullptr);

struct PrintResult {
  int pages = 0;           // printed
  bool cancelled = false;  // by the user, during the print
  explicit operator bool() const { return pages > 0; }
};

// The command.
PrintResult printDisplay(DisplayViews& host, PrintChooser& chooser);
// The status bar's note after the command.
std::string printedNote(const PrintResult& result);

}  // namespace display
