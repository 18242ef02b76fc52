#include "users/hours_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <array>

namespace users {

namespace {

constexpr int kDays = 7;
constexpr int kHours = 24;

const std::array<QString, kDays>& dayNames() {
  static const std::array<QString, kDays> names{
      QStringLiteral("Sunday"),   QStringLiteral("Monday"), QStringLiteral("Tuesday"),
      QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
      QStringLiteral("Saturday")};
  return names;
}

std::size_t bitOf(int day, int hour) { return static_cast<std::size_t>(day * kHours + hour); }

}  // namespace

HoursGrid::HoursGrid(WeekHours hours, QWidget* parent) : QWidget(parent), m_hours(hours) {
  setObjectName(QStringLiteral("hoursGrid"));
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  const QFontMetrics metrics = fontMetrics();
  for (const QString& name : dayNames())
    m_labelWidth = std::max(m_labelWidth, metrics.horizontalAdvance(name));
  m_labelWidth += 12;
  m_cellWidth = std::max(metrics.horizontalAdvance(QStringLiteral("00")) + 8, 20);
  m_cellHeight = metrics.height() + 8;
  m_headHeight = metrics.height() + 6;
}

QSize HoursGrid::sizeHint() const {
  return {m_labelWidth + kHours * m_cellWidth + 1, m_headHeight + kDays * m_cellHeight + 1};
}

QRect HoursGrid::cellRect(int day, int hour) const {
  const int x = hour < 0 ? 0 : m_labelWidth + hour * m_cellWidth;
  const int y = day < 0 ? 0 : m_headHeight + day * m_cellHeight;
  return {x, y, hour < 0 ? m_labelWidth : m_cellWidth, day < 0 ? m_headHeight : m_cellHeight};
}

std::optional<HoursGrid::Spot> HoursGrid::spotAt(QPoint pos) const {
  if (pos.x() < 0 || pos.y() < 0) return std::nullopt;
  const int hour = pos.x() < m_labelWidth ? -1 : (pos.x() - m_labelWidth) / m_cellWidth;
  const int day = pos.y() < m_headHeight ? -1 : (pos.y() - m_headHeight) / m_cellHeight;
  if (hour >= kHours || day >= kDays) return std::nullopt;
  return Spot{day, hour};
}

HoursGrid::Spot HoursGrid::clampedSpotAt(QPoint pos) const {
  return {std::clamp((pos.y() - m_headHeight) / std::max(m_cellHeight, 1), 0, kDays - 1),
          std::clamp((pos.x() - m_labelWidth) / std::max(m_cellWidth, 1), 0, kHours - 1)};
}

WeekHours HoursGrid::sweep(Spot a, Spot b) const {
  const bool allDays = a.day < 0 || b.day < 0;
  const bool allHours = a.hour < 0 || b.hour < 0;
  const int firstDay = allDays ? 0 : std::min(a.day, b.day);
  const int lastDay = allDays ? kDays - 1 : std::max(a.day, b.day);
  const int firstHour = allHours ? 0 : std::min(a.hour, b.hour);
  const int lastHour = allHours ? kHours - 1 : std::max(a.hour, b.hour);
  WeekHours swept;
  for (int day = firstDay; day <= lastDay; ++day)
    for (int hour = firstHour; hour <= lastHour; ++hour) swept.set(bitOf(day, hour));
  return swept;
}

WeekHours HoursGrid::shown() const {
  if (!m_anchor) return m_hours;
  const WeekHours swept = sweep(*m_anchor, m_current);
  return m_allow ? m_hours | swept : m_hours & ~swept;
}

void HoursGrid::commit(WeekHours hours) {
  m_hours = hours;
  m_touched = true;
  update();
  emit edited();
}

void HoursGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colors = palette();
  painter.fillRect(rect(), colors.window());
  const WeekHours week = shown();
  painter.setPen(colors.color(QPalette::WindowText));
  for (int hour = 0; hour < kHours; ++hour)
    painter.drawText(cellRect(-1, hour), Qt::AlignCenter, QString::number(hour));
  for (int day = 0; day < kDays; ++day)
    painter.drawText(cellRect(day, -1).adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     dayNames()[static_cast<std::size_t>(day)]);
  const QColor gridLine = colors.color(QPalette::Mid);
  for (int day = 0; day < kDays; ++day) {
    for (int hour = 0; hour < kHours; ++hour) {
      const QRect cell = cellRect(day, hour);
      painter.fillRect(cell, week[bitOf(day, hour)] ? colors.highlight() : colors.base());
      painter.setPen(gridLine);
      painter.drawRect(cell);
    }
  }
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = cellRect(m_focus.day, m_focus.hour).adjusted(2, 2, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void HoursGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const std::optional<Spot> spot = spotAt(event->position().toPoint());
  if (!spot) return;
  m_anchor = spot;
  m_current = *spot;
  // A drag that starts where everything is allowed denies; else it allows.
  const WeekHours start = sweep(*spot, *spot);
  m_allow = (m_hours & start) != start;
  if (spot->day >= 0 && spot->hour >= 0) m_focus = *spot;
  update();
}

void HoursGrid::mouseMoveEvent(QMouseEvent* event) {
  if (!m_anchor) return;
  m_current = clampedSpotAt(event->position().toPoint());
  update();
}

void HoursGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_anchor || event->button() != Qt::LeftButton) return;
  m_current = clampedSpotAt(event->position().toPoint());
  const WeekHours hours = shown();
  m_anchor.reset();
  commit(hours);
}

void HoursGrid::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left: m_focus.hour = std::max(m_focus.hour - 1, 0); break;
    case Qt::Key_Right: m_focus.hour = std::min(m_focus.hour + 1, kHours - 1); break;
    case Qt::Key_Up: m_focus.day = std::max(m_focus.day - 1, 0); break;
    case Qt::Key_Down: m_focus.day = std::min(m_focus.day + 1, kDays - 1); break;
    case Qt::Key_Space: {
      WeekHours hours = m_hours;
      hours.flip(bitOf(m_focus.day, m_focus.hour));
      commit(hours);
      return;
    }
    default: QWidget::keyPressEvent(event); return;
  }
  update();
}

}  // namespace users
