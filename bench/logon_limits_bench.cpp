// The Hours, Logon To and Account dialogs of User Properties (offscreen):
// from the button's click to the dialog shown (built, laid out and painted)
// and closed again. The aim is 50 ms for Hours and Logon To. The account is
// one of a generated lab whose accounts carry logon hours, workstations and
// expiry, the user dialog already open on it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>

#include <memory>

#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/netapi.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_messages.h"
#include "ui/scripted_program_starter.h"
#include "users/user_load.h"
#include "users/user_properties_dialog.h"

namespace {

constexpr const char* kServer = "\\\\GENPDC";

struct OpenUser {
  std::unique_ptr<platform::ScopedBackend> installed;
  ui::ScriptedMessages messages;
  ui::ScriptedProgramStarter programs;
  ui::ScriptedDialogRunner dialogs;
  std::unique_ptr<users::CUserProperties> dialog;

  OpenUser() {
    lab::GeneratorOptions options;
    options.users = 2000;
    options.groups = 100;
    options.servers = 4;
    installed = std::make_unique<platform::ScopedBackend>(
        lab::makeLabBackend(lab::generateLab(options)));
    // Restricted hours, two workstations and an expiry, so that each
    // dialog has something to show.
    platform::NetBuffer buffer;
    if (platform::NetUserGetInfo(kServer, "user00001", 3, buffer) != platform::NERR_Success ||
        !buffer.one<platform::USER_INFO_3>())
      return;
    platform::USER_INFO_3 record = *buffer.one<platform::USER_INFO_3>();
    record.usri3_logon_hours.assign(21, 0x0F);
    record.usri3_workstations = "WKS1,WKS2";
    record.usri3_acct_expires = 1900000000;
    record.usri3_password.clear();
    platform::NetUserSetInfo(kServer, "user00001", 3, record, nullptr);
    auto fields = users::loadSingleUser(kServer, "user00001");
    if (!fields) return;
    dialog = std::make_unique<users::CUserProperties>(users::UserOpen{kServer, false},
                                                      std::move(*fields), messages, programs,
                                                      dialogs);
    dialog->show();
    QApplication::processEvents();
  }
};

OpenUser& openUser() {
  static OpenUser open;
  return open;
}

void openFromButton(benchmark::State& state, QPushButton* (users::CUserProperties::*button)() const) {
  OpenUser& open = openUser();
  if (!open.dialog) {
    state.SkipWithError("the account could not be opened");
    return;
  }
  for (auto _ : state) {
    open.dialogs.queueStep([](QDialog& d) {
      d.show();
      QApplication::processEvents();
      return static_cast<int>(QDialog::Rejected);
    });
    ((*open.dialog).*button)()->click();
  }
}

void BM_OpenHours(benchmark::State& state) {
  openFromButton(state, &users::CUserProperties::hoursButton);
}
void BM_OpenLogonTo(benchmark::State& state) {
  openFromButton(state, &users::CUserProperties::logonToButton);
}
void BM_OpenAccount(benchmark::State& state) {
  openFromButton(state, &users::CUserProperties::accountButton);
}
BENCHMARK(BM_OpenHours)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLogonTo)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAccount)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
