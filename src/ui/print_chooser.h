#pragma once
// The print dialog port: lets the user set up a printer before the print
// starts; false on Cancel. The window installs the platform's print dialog
// (display::QtPrintChooser), tests one that prints into a PDF file. The
// printer is only named here, so the port compiles without Qt.

class QPrinter;
class QWidget;

namespace ui {

class PrintChooser {
 public:
  virtual ~PrintChooser() = default;
  virtual bool choose(QPrinter& printer) = 0;
  // The window the dialog is shown over; a chooser that shows nothing
  // ignores it.
  virtual void setOwner(QWidget* /*owner*/) {}
};

}  // namespace ui
