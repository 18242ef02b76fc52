// The samba backend as a module (veltrane-samba.so): its entry point, and
// its logon served through the platform's NetworkLogon so the program needs
// none of this backend's types.

#include <memory>

#include "platform/backend_module.h"
#include "platform/samba/samba_backend.h"

namespace platform::samba {
namespace {

class SambaLogon final : public NetworkLogon {
 public:
  explicit SambaLogon(std::shared_ptr<SambaBackend> backend) : m_backend(std::move(backend)) {}

  bool haveAccount() const override { return m_backend->haveCredentials(); }

  void setAsker(LogonAsker asker) override {
    if (!asker) {
      m_backend->setLogonPrompt({});
      return;
    }
    m_backend->setLogonPrompt([asker = std::move(asker)](const LogonQuestion& question)
                                  -> std::optional<Credentials> {
      const std::optional<LogonAnswer> answer =
          asker(LogonRequest{question.server, question.user, question.domain, question.refused});
      if (!answer) return std::nullopt;
      Credentials given;
      given.user = answer->user;
      given.domain = answer->domain;
      given.password = answer->password;
      return given;
    });
  }

  bool askNow() override { return m_backend->askCredentials({}, false); }

 private:
  std::shared_ptr<SambaBackend> m_backend;
};

BackendFactory moduleFactory() {
  return [factory = sambaBackendFactory()](const BackendOptions& options,
                                           std::string* error) -> std::shared_ptr<Backend> {
    auto backend = factory(options, error);
    if (!backend) return nullptr;
    if (auto samba = std::dynamic_pointer_cast<SambaBackend>(backend->accounts))
      backend->logon = std::make_shared<SambaLogon>(std::move(samba));
    return backend;
  };
}

}  // namespace
}  // namespace platform::samba

extern "C" __attribute__((visibility("default"))) const platform::BackendModuleEntry*
veltrane_backend_entry() {
  static const platform::BackendModuleEntry entry{platform::kBackendModuleAbi, VELTRANE_VERSION,
                                                  "samba", &platform::samba::moduleFactory};
  return &entry;
}
