#pragma once
// "Add user or group from other domain": a DOMAIN\name typed by hand. The
// name is not checked here; the group's OK looks it up before writing.

#include <QDialog>

#include <string>

class QLineEdit;

namespace groups {

class OtherDomainMemberDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit OtherDomainMemberDialog(QWidget* parent = nullptr);

  const std::string& member() const { return m_member; }
  void accept() override;

  QLineEdit* memberEdit() const { return m_edit; }

 private:
  std::string m_member;
  QLineEdit* m_edit = nullptr;
};

}  // namespace groups
