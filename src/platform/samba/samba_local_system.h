#pragma once
// The program's own machine under the samba backend: the Linux machine's
// settings file and version, its name as Samba's configuration gives it,
// and the account the backend acts as (the Linux login only while there
// is none, or when the Kerberos ticket cache acts).

#include <memory>
#include <string>

#include "platform/local/config_file_local_system.h"

namespace platform::samba {

class SambaBackend;

class SambaLocalSystem final : public ConfigFileLocalSystem {
 public:
  SambaLocalSystem(std::string settingsPath, std::weak_ptr<SambaBackend> backend);

  BOOL GetUserName(std::string* name) override;
  BOOL GetComputerName(std::string* name) override;

 private:
  std::weak_ptr<SambaBackend> m_backend;
};

}  // namespace platform::samba
