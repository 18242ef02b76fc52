#include "app/splash_dialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "window/command_ids.h"
#include "ui/icons.h"

namespace app {

using namespace window;

SplashDialog::SplashDialog(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("dialog%1").arg(kDlgSplash));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* picture = new QLabel(this);
  picture->setPixmap(ui::splashPicture());
  picture->setFixedSize(320, 320);
  layout->addWidget(picture, 0, Qt::AlignLeft | Qt::AlignTop);
  m_timer.setInterval(kTickMs);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    if (++m_ticks >= kTicks) {
      m_timer.stop();
      accept();
    }
  });
  m_timer.start();
}

}  // namespace app
