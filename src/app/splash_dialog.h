#pragma once
// The start-up splash: the picture at the top left, closed on the fourth
// tick of a 500 ms timer (about two seconds).

#include <QDialog>
#include <QTimer>

namespace app {

class SplashDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit SplashDialog(QWidget* parent = nullptr);
  static constexpr int kTickMs = 500;
  static constexpr int kTicks = 4;

 private:
  QTimer m_timer;
  int m_ticks = 0;
};

}  // namespace app
