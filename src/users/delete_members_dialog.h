#pragma once
// Asked once when several rows are to be deleted: all without further
// questions, one at a time with a question each, or nothing.

#include <QDialog>

namespace users {

class CDeleteMembers final : public QDialog {
  Q_OBJECT
 public:
  enum Choice { Cancel = 0, OneAtATime = 1, DeleteAll = 2 };

  explicit CDeleteMembers(QWidget* parent = nullptr);

  Choice choice() const { return m_choice; }
  // The three buttons.
  void deleteAll() { choose(DeleteAll); }
  void oneAtATime() { choose(OneAtATime); }
  void cancel() { choose(Cancel); }

 private:
  void choose(Choice choice);
  Choice m_choice = Cancel;
};

}  // namespace users
