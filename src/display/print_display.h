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
// units of 1/600 inch. The Network display is refused with a message (before
// any dialog); Performance and displays that match no tab print nothing.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>

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

// Prints the list onto a printer that is set up. Returns the number of
// pages printed, 0 when the document could not be started or was aborted.
int printList(const QTableView& view, QPrinter& printer);

// The command. Returns true when the list was printed.
bool printDisplay(DisplayViews& host, PrintChooser& chooser);

}  // namespace display
