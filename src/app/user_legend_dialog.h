#pragma once
// The user legend (template 216, "User Legend"): the three account icons of
// the Users display with what they mean.

#include <QDialog>

namespace app {

class UserLegendDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit UserLegendDialog(QWidget* parent = nullptr);
};

}  // namespace app
