#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "window/command_ids.h"
#include "app/window_texts.h"
#include "ui/icons.h"

namespace app {

using namespace window;
namespace {

QString q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QLabel* iconLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setPixmap(ui::appIcon().pixmap(48, 48));
  label->setAlignment(Qt::AlignTop);
  return label;
}

}  // namespace

QStringList AboutDialog::releaseHistory() {
  return {
      QStringLiteral("2.20 QV  Quotas display for the Hollisk quota service"),
      QStringLiteral("2.20     Files display: directory access rights and rights dump"),
      QStringLiteral("2.10     Import of users and groups; export to database files"),
      QStringLiteral("2.00     Browsing on worker threads; stop button"),
      QStringLiteral("1.50     Servers display with versions and extra registry entries"),
      QStringLiteral("1.20     Groups display with members; copy users and groups"),
      QStringLiteral("1.00     Users display and user properties"),
  };
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dialog%1").arg(kDlgAbout));
  setWindowTitle(QStringLiteral("About %1").arg(q(kProductName)));
  auto* top = new QHBoxLayout;
  top->addWidget(iconLabel(this));
  auto* texts = new QVBoxLayout;
  auto* name = new QLabel(q(kProductName), this);
  name->setObjectName(QStringLiteral("productName"));
  QFont f = name->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.4);
  name->setFont(f);
  auto* version = new QLabel(q(kVersionText), this);
  version->setObjectName(QStringLiteral("versionText"));
  texts->addWidget(name);
  texts->addWidget(version);
  texts->addWidget(new QLabel(QStringLiteral("Copyright \u00a9 Brisle Software"), this));
  top->addLayout(texts, 1);

  auto* history = new QListWidget(this);
  history->setObjectName(QStringLiteral("releaseHistory"));
  history->addItems(releaseHistory());
  history->setSelectionMode(QAbstractItemView::NoSelection);
  history->setFocusPolicy(Qt::NoFocus);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(new QLabel(QStringLiteral("Release history:"), this));
  layout->addWidget(history);
  layout->addWidget(buttons);
  resize(420, 300);
}

ContactDialog::ContactDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dialog%1").arg(kDlgContact));
  setWindowTitle(QStringLiteral("How to contact Brisle Software"));
  auto* text = new QLabel(
      QStringLiteral("For support, new versions and versions for other platforms,\n"
                     "contact Brisle Software through your distributor.\n\n"
                     "Please quote the version: %1 %2.")
          .arg(q(kProductName), q(kVersionText)),
      this);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* top = new QHBoxLayout;
  top->addWidget(iconLabel(this));
  top->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
}

}  // namespace app
