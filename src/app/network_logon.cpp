#include "app/network_logon.h"

namespace app {

bool needsLogon(const platform::Backend& backend) {
  return backend.logon && !backend.logon->haveAccount();
}

std::string noLogonLine() {
  return "no account to act as: give --authentication-file FILE, or get a Kerberos ticket "
         "(kinit USER@REALM) first";
}

void connectLogonPrompt(platform::Backend& backend, std::shared_ptr<ui::LogonPrompt> prompt) {
  if (!backend.logon || !prompt) return;
  backend.logon->setAsker([prompt](const platform::LogonRequest& request)
                              -> std::optional<platform::LogonAnswer> {
    ui::LogonFields fields{request.server, request.user, request.domain, {}, request.refused};
    const bool accepted = prompt->ask(fields);
    std::optional<platform::LogonAnswer> given;
    if (accepted && !fields.user.empty()) {
      given.emplace();
      given->user = fields.user;
      given->domain = fields.domain;
      given->password = fields.password;
    }
    platform::wipeSecret(fields.password);
    return given;
  });
}

bool logOnAtStart(platform::Backend& backend) {
  if (!backend.logon || backend.logon->haveAccount()) return true;
  return backend.logon->askNow();
}

}  // namespace app
