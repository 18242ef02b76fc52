#pragma once
// One part of the status bar: a label of fixed width whose text never
// widens it. A text longer than the part is drawn cut short with an
// ellipsis and shown whole as the part's tool tip; text() stays whole.

#include <QLabel>

namespace app {

class StatusPart final : public QLabel {
  Q_OBJECT
 public:
  explicit StatusPart(QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  // True when the text is drawn cut short.
  bool elided() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
};

}  // namespace app
