#pragma once
// The About box (template 100): product name, version and the release
// history; and the contact dialog (template 148).

#include <QDialog>
#include <QStringList>

namespace app {

class AboutDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
  static QStringList releaseHistory();
};

class ContactDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ContactDialog(QWidget* parent = nullptr);
};

}  // namespace app
