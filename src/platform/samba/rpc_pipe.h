#pragma once
// One connection to a server's srvsvc, winreg or SAMR pipe, through Samba's
// RPC client (rpc_client.h): the sessions of a server and its registry,
// which libnetapi does not serve, and its accounts, which libnetapi reads
// one call at a time. Not thread-safe: the backend calls it under its
// session lock.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/samba/credentials.h"
#include "platform/samba/rpc_client.h"
#include "platform/samba/samr_accounts.h"
#include "platform/types.h"

namespace platform::samba {

enum class RpcInterface { Sessions, Registry, Accounts };

struct RpcSession {
  std::string client;
  std::string user;
  DWORD opens = 0;
  DWORD seconds = 0;
  DWORD idleSeconds = 0;
  DWORD flags = 0;
  std::string clientType;
};

// A key handle of the server's registry.
using RpcKey = vt_reg_key;

class RpcPipe {
 public:
  // Null with *status (121: no answer within connectSeconds) and *error.
  static std::unique_ptr<RpcPipe> open(RpcInterface which, const std::string& address,
                                       const Credentials& credentials, int callSeconds,
                                       int connectSeconds, DWORD* status, std::string* error);
  explicit RpcPipe(vt_rpc* connection);
  ~RpcPipe();
  RpcPipe(const RpcPipe&) = delete;
  RpcPipe& operator=(const RpcPipe&) = delete;

  // False once the connection dropped or a call timed out.
  bool usable() const;

  DWORD sessions(std::vector<RpcSession>* out);
  // Empty client or user: any.
  DWORD deleteSessions(std::string_view client, std::string_view user);

  // Every account of server's domain whose control bits share one with
  // acbFilter (0: all), in the server's order; the list of them comes over
  // netapi's own pipe (see samr_accounts.h).
  DWORD accounts(libnetapi_ctx* netapi, const std::string& server, std::uint32_t acbFilter,
                 const std::function<void(const vt_samr_account&)>& take);

  DWORD openRoot(std::uint32_t root, REGSAM access, RpcKey* out);
  DWORD openKey(const RpcKey& parent, std::string_view name, REGSAM access, RpcKey* out);
  DWORD createKey(const RpcKey& parent, std::string_view name, DWORD options, REGSAM access,
                  RpcKey* out, DWORD* disposition);
  DWORD closeKey(const RpcKey& key);
  // Values as the platform keeps them: text types (REG_SZ, REG_EXPAND_SZ,
  // REG_MULTI_SZ) in UTF-8 with their terminating zeros, the server's
  // UTF-16 converted both ways; other types byte for byte. *size as for
  // RegQueryValueEx (the stored size, or the size needed with 234).
  DWORD queryValue(const RpcKey& key, std::string_view name, DWORD* type,
                   std::span<std::uint8_t> data, DWORD* size);
  DWORD setValue(const RpcKey& key, std::string_view name, DWORD type,
                 std::span<const std::uint8_t> data);
  DWORD deleteValue(const RpcKey& key, std::string_view name);
  // 259 past the last value.
  DWORD enumValue(const RpcKey& key, DWORD index, std::string* name, DWORD* type,
                  std::span<std::uint8_t> data, DWORD* size);

 private:
  // Hands the value the server keeps as `raw` to the caller in the
  // platform's form, as queryValue says.
  static DWORD deliver(DWORD storedType, std::span<const std::uint8_t> raw, DWORD* type,
                       std::span<std::uint8_t> data, DWORD* size);
  vt_rpc* m_connection;
};

// The server's UTF-16LE text as UTF-8 and back; each keeps zeros where they
// stand, so a multi-string's separators and end survive.
std::string utf8FromUtf16(std::span<const std::uint8_t> utf16);
std::vector<std::uint8_t> utf16FromUtf8(std::string_view utf8);

}  // namespace platform::samba
