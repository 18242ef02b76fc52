#pragma once
// The browse / stop button (control 1172): shows one of the eight animation
// frames; frame 0 is the resting image.

#include <QToolButton>

namespace app {

class BrowseButton final : public QToolButton {
  Q_OBJECT
 public:
  explicit BrowseButton(QWidget* parent = nullptr);
  void setFrame(int frame);
  int frame() const { return m_frame; }
  // False when the frame pictures could not be loaded.
  bool hasPictures() const { return m_hasPictures; }

 private:
  int m_frame = 0;
  bool m_hasPictures = false;
};

}  // namespace app
