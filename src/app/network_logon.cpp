#include "app/network_logon.h"

#include "platform/samba/samba_backend.h"

namespace app {
namespace {

std::shared_ptr<platform::samba::SambaBackend> sambaOf(const platform::Backend& backend) {
  return std::dynamic_pointer_cast<platform::samba::SambaBackend>(backend.accounts);
}

}  // namespace

bool needsLogon(const platform::Backend& backend) {
  const auto samba = sambaOf(backend);
  return samba && !samba->haveCredentials();
}

std::string noLogonLine() {
  return "no account to act as: give --authentication-file FILE, or get a Kerberos ticket "
         "(kinit USER@REALM) first";
}

void connectLogonPrompt(platform::Backend& backend, std::shared_ptr<ui::LogonPrompt> prompt) {
  const auto samba = sambaOf(backend);
  if (!samba || !prompt) return;
  samba->setLogonPrompt([prompt](const platform::samba::LogonQuestion& question)
                            -> std::optional<platform::samba::Credentials> {
    ui::LogonFields fields{question.server, question.user, question.domain, {},
                           question.refused};
    const bool accepted = prompt->ask(fields);
    std::optional<platform::samba::Credentials> given;
    if (accepted && !fields.user.empty()) {
      given.emplace();
      given->user = fields.user;
      given->domain = fields.domain;
      given->password = fields.password;
    }
    platform::samba::wipeText(fields.password);
    return given;
  });
}

bool logOnAtStart(platform::Backend& backend) {
  const auto samba = sambaOf(backend);
  if (!samba || samba->haveCredentials()) return true;
  return samba->askCredentials({}, false);
}

}  // namespace app
