#include "users/logon_hours_dialog.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "users/hours_grid.h"
#include "users/limit_dialog_footer.h"

namespace users {

namespace {

// A small filled or empty square with its meaning, as the grid draws hours.
QWidget* legend(bool allowed, const QString& text, QWidget* parent) {
  auto* item = new QWidget(parent);
  auto* swatch = new QFrame(item);
  swatch->setFrameShape(QFrame::Box);
  swatch->setFixedSize(14, 14);
  swatch->setAutoFillBackground(true);
  QPalette colors = swatch->palette();
  colors.setBrush(QPalette::Window, allowed ? colors.highlight() : colors.base());
  swatch->setPalette(colors);
  auto* row = new QHBoxLayout(item);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(swatch);
  row->addWidget(new QLabel(text, item));
  return item;
}

QString zoneText(long offsetSeconds) {
  QString text = QStringLiteral("Hours are in this computer's local time (%1).")
                     .arg(QString::fromStdString(offsetText(offsetSeconds)));
  if (const int minutes = shiftRemainderMinutes(offsetSeconds); minutes != 0)
    text += QStringLiteral(
                " Logon hours are kept by the hour in GMT, so each hour shown "
                "starts %1 minutes later by this computer's clock.")
                .arg(minutes);
  return text;
}

}  // namespace

LogonHoursDialog::LogonHoursDialog(const QString& who, const WeekHours& gmt, bool mixed,
                                   long offsetSeconds, QWidget* parent)
    : QDialog(parent), m_shift(shiftHours(offsetSeconds)) {
  setObjectName(QStringLiteral("LogonHours"));
  setWindowTitle(QStringLiteral("Logon Hours"));
  m_grid = new HoursGrid(toLocal(gmt, m_shift), this);
  m_zone = new QLabel(zoneText(offsetSeconds), this);
  m_zone->setObjectName(QStringLiteral("zone"));
  m_zone->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(who, this));
  layout->addWidget(m_zone);
  layout->addWidget(m_grid);
  auto* legends = new QHBoxLayout;
  legends->addWidget(legend(true, QStringLiteral("Allowed"), this));
  legends->addWidget(legend(false, QStringLiteral("Denied"), this));
  legends->addStretch();
  layout->addLayout(legends);
  auto* hint = new QLabel(QStringLiteral("Drag across hours to allow them, or, starting on an "
                                         "allowed hour, to deny them. A day's name or an "
                                         "hour's number takes the whole row or column."),
                          this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  addLimitDialogFooter(this, layout, mixed,
                       QStringLiteral("The selected users' logon hours differ. What you "
                                      "mark here is given to all of them; OK with nothing "
                                      "marked, or Cancel, leaves each user's hours as they "
                                      "are."));
  m_grid->setFocus();
}

WeekHours LogonHoursDialog::hours() const { return toGmt(m_grid->hours(), m_shift); }

bool LogonHoursDialog::touched() const { return m_grid->touched(); }

}  // namespace users
