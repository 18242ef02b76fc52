#include "users/logon_to_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "resources/strings.h"
#include "ui/messages.h"
#include "users/limit_dialog_footer.h"
#include "users/workstation_list.h"

namespace users {

LogonToDialog::LogonToDialog(const QString& who, const std::string& list, bool mixed,
                             ui::Messages& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_list(list) {
  setObjectName(QStringLiteral("LogonTo"));
  setWindowTitle(QStringLiteral("Logon Workstations"));
  const std::vector<std::string> names = workstationNames(list);

  auto* group = new QGroupBox(QStringLiteral("Logon Workstations"), this);
  m_all = new QRadioButton(QStringLiteral("User May Log On To &All Workstations"), group);
  m_these = new QRadioButton(QStringLiteral("User May Log On To &These Workstations"), group);
  auto* edits = new QGridLayout;
  // Eight edits in two columns; an account that has more keeps them all
  // in view, so that none is lost before the user chooses which go.
  const std::size_t count = std::max(kMaxWorkstations, names.size());
  const int rows = static_cast<int>((count + 1) / 2);
  for (std::size_t i = 0; i < count; ++i) {
    auto* edit = new QLineEdit(group);
    edit->setObjectName(QStringLiteral("workstation%1").arg(i + 1));
    if (i < names.size()) edit->setText(QString::fromStdString(names[i]));
    auto* label = new QLabel(QStringLiteral("&%1.").arg(i + 1), group);
    label->setBuddy(edit);
    const int row = static_cast<int>(i) % rows;
    const int column = static_cast<int>(i) / rows * 2;
    edits->addWidget(label, row, column);
    edits->addWidget(edit, row, column + 1);
    connect(edit, &QLineEdit::textChanged, this, [this] { m_touched = true; });
    m_names.push_back(edit);
  }
  auto* inGroup = new QVBoxLayout(group);
  inGroup->addWidget(m_all);
  inGroup->addWidget(m_these);
  inGroup->addLayout(edits);
  (names.empty() ? m_all : m_these)->setChecked(true);
  for (QRadioButton* radio : {m_all, m_these})
    connect(radio, &QRadioButton::clicked, this, [this] {
      m_touched = true;
      showChoice();
    });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(who, this));
  layout->addWidget(group);
  addLimitDialogFooter(this, layout, mixed,
                       QStringLiteral("The selected users' workstations differ. What you "
                                      "choose here is given to all of them; OK with "
                                      "nothing changed, or Cancel, leaves each user's "
                                      "workstations as they are."));
  showChoice();
}

void LogonToDialog::showChoice() {
  for (QLineEdit* edit : m_names) edit->setEnabled(m_these->isChecked());
}

void LogonToDialog::accept() {
  // Nothing changed: the account keeps its list exactly as it is.
  if (!m_touched) {
    QDialog::accept();
    return;
  }
  if (m_all->isChecked()) {
    m_list.clear();
    QDialog::accept();
    return;
  }
  std::vector<std::string> typed;
  typed.reserve(m_names.size());
  for (const QLineEdit* edit : m_names) typed.push_back(edit->text().toStdString());
  WorkstationList checked = workstationList(typed);
  if (checked.problem.empty() && checked.list.empty())
    checked.problem =
        "Type at least one workstation name, or choose \"User May Log On To All "
        "Workstations\".";
  if (!checked.problem.empty()) {
    m_messages.ok(checked.problem, res::programTitle());
    return;
  }
  m_list = std::move(checked.list);
  QDialog::accept();
}

}  // namespace users
