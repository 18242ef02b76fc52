#pragma once
// The Qt logon port: the Log On dialog, run modally on the GUI thread. A
// worker's call is handed to the GUI thread and waits for the answer (the
// backend lets its session go meanwhile, so the window stays usable).

#include <QObject>

#include "ui/logon_prompt.h"

namespace app {

class QtLogonPrompt final : public QObject, public ui::LogonPrompt {
  Q_OBJECT
 public:
  // Must be made on the GUI thread.
  explicit QtLogonPrompt(QObject* parent = nullptr) : QObject(parent) {}
  bool ask(ui::LogonFields& fields) override;

 private:
  bool askHere(ui::LogonFields& fields);
};

}  // namespace app
