#include "app/user_legend_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "window/command_ids.h"
#include "display/icon_set.h"

namespace app {

using namespace window;

UserLegendDialog::UserLegendDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dialog%1").arg(kDlgUserLegend));
  setWindowTitle(QStringLiteral("User Legend"));
  const display::IconSet icons = display::IconSet::fromResources();
  struct Row {
    display::ListImage image;
    const char* text;
  };
  const Row rows[] = {
      {display::ListImage::Account, "Normal user account"},
      {display::ListImage::Disabled,
       "Account disabled (overrules all other states)"},
      {display::ListImage::LockedOut, "Account locked out"},
  };
  auto* grid = new QGridLayout;
  int r = 0;
  for (const Row& row : rows) {
    auto* picture = new QLabel(this);
    picture->setPixmap(icons.icon(row.image).pixmap(20, 20));
    grid->addWidget(picture, r, 0);
    auto* text = new QLabel(QString::fromUtf8(row.text), this);
    text->setObjectName(QStringLiteral("legend%1").arg(r));
    grid->addWidget(text, r, 1);
    ++r;
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

}  // namespace app
