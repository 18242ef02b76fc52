#include "app/browse_button.h"

#include "window/command_ids.h"
#include "ui/icons.h"

namespace app {

using namespace window;

BrowseButton::BrowseButton(QWidget* parent) : QToolButton(parent) {
  setObjectName(QStringLiteral("control%1").arg(kCtlBrowseButton));
  setFixedSize(66, 66);
  setIconSize(QSize(60, 60));
  setAutoRaise(false);
  m_hasPictures = !ui::browseFrame(0).isNull();
  setFrame(0);
}

void BrowseButton::setFrame(int frame) {
  m_frame = frame % ui::kBrowseFrames;
  setIcon(ui::browseFrame(m_frame));
}

}  // namespace app
