#pragma once
// The week grid of the Hours dialog: seven rows of days (Sunday first),
// 24 columns of hours, a filled cell an hour allowed. A drag allows or
// denies the rectangle it sweeps: denies when it starts on an allowed hour,
// allows otherwise. A drag that starts on a day's name takes whole days, on
// an hour's heading whole columns, on the corner the whole week. The arrow
// keys move the focus cell and Space turns it over.

#include <QWidget>

#include <optional>

#include "users/logon_hours.h"

namespace users {

class HoursGrid final : public QWidget {
  Q_OBJECT
 public:
  explicit HoursGrid(WeekHours hours, QWidget* parent = nullptr);

  // The week as shown (local time), bit day * 24 + hour.
  const WeekHours& hours() const { return m_hours; }
  // Whether the user has changed anything, even back to what it was.
  bool touched() const { return m_touched; }
  // Where `day` (0 Sunday) and `hour` are drawn; hour -1 is the day's name,
  // day -1 the hour's heading.
  QRect cellRect(int day, int hour) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void edited();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // A day and an hour; -1 for all of them.
  struct Spot {
    int day = 0;
    int hour = 0;
  };
  std::optional<Spot> spotAt(QPoint pos) const;
  Spot clampedSpotAt(QPoint pos) const;
  // The hours of the rectangle from `a` to `b`.
  WeekHours sweep(Spot a, Spot b) const;
  // The week with the drag under way applied.
  WeekHours shown() const;
  void commit(WeekHours hours);

  WeekHours m_hours;
  bool m_touched = false;
  std::optional<Spot> m_anchor;
  Spot m_current;
  bool m_allow = true;
  Spot m_focus{1, 8};
  int m_labelWidth = 0;
  int m_headHeight = 0;
  int m_cellWidth = 0;
  int m_cellHeight = 0;
};

}  // namespace users
