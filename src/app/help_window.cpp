#include "app/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "window/command_ids.h"

namespace app {

using namespace window;

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QString::fromLatin1(kHelpFile));
  setWindowTitle(QStringLiteral("Veltrane Help"));
  m_browser = new QTextBrowser(this);
  m_browser->setOpenExternalLinks(false);
  auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto* back = new QPushButton(QStringLiteral("&Back"), this);
  connect(contents, &QPushButton::clicked, this, &HelpWindow::showContents);
  connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
  connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  back->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(m_browser);
  resize(560, 480);
}

void HelpWindow::showContents() {
  m_browser->setSource(QUrl(QString::fromLatin1(kContentsPage)));
  show();
  raise();
  activateWindow();
}

}  // namespace app
