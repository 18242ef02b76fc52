#pragma once
// The help window: the program's own help pages, always opened at their
// contents page, whatever the request.

#include <QWidget>

class QTextBrowser;

namespace app {

class HelpWindow final : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // Shows the contents page and raises the window.
  void showContents();
  QTextBrowser* browser() const { return m_browser; }

  static constexpr const char* kContentsPage = "qrc:/help/index.html";

 private:
  QTextBrowser* m_browser;
};

}  // namespace app
