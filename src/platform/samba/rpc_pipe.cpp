#include "platform/samba/rpc_pipe.h"

#include <algorithm>

#include "platform/registry.h"

namespace platform::samba {
namespace {

constexpr DWORD kMoreData = 234;
constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void appendUtf16(std::vector<std::uint8_t>& out, char32_t c) {
  const auto unit = [&out](char32_t u) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  };
  if (c >= 0x10000) {
    c -= 0x10000;
    unit(0xD800 | (c >> 10));
    unit(0xDC00 | (c & 0x3FF));
  } else {
    unit(c);
  }
}

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace

std::string utf8FromUtf16(std::span<const std::uint8_t> utf16) {
  std::string out;
  const std::size_t units = utf16.size() / 2;
  const auto at = [&](std::size_t i) -> char32_t { return utf16[2 * i] | (utf16[2 * i + 1] << 8); };
  for (std::size_t i = 0; i < units; ++i) {
    char32_t c = at(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && at(i + 1) >= 0xDC00 && at(i + 1) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (at(i + 1) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = kReplacement;
    }
    appendUtf8(out, c);
  }
  return out;
}

std::vector<std::uint8_t> utf16FromUtf8(std::string_view utf8) {
  std::vector<std::uint8_t> out;
  out.reserve(utf8.size() * 2);
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = b < 0x80         ? 1
                               : (b >> 5) == 6  ? 2
                               : (b >> 4) == 14 ? 3
                               : (b >> 3) == 30 ? 4
                                                : 0;
    char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
    bool good = length != 0 && i + length <= utf8.size();
    for (std::size_t k = 1; good && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      good = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (good && (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))) good = false;
    appendUtf16(out, good ? c : kReplacement);
    i += good ? length : 1;
  }
  return out;
}

std::unique_ptr<RpcPipe> RpcPipe::open(RpcInterface which, const std::string& address,
                                       const Credentials& credentials, int callSeconds,
                                       int connectSeconds, DWORD* status, std::string* error) {
  char why[512] = "";
  unsigned code = 0;
  vt_rpc* connection = vt_rpc_connect(
      which == RpcInterface::Registry   ? VT_RPC_WINREG
      : which == RpcInterface::Accounts ? VT_RPC_SAMR
                                        : VT_RPC_SRVSVC,
      address.c_str(),
      credentials.user.c_str(), credentials.password.c_str(), credentials.domain.c_str(),
      credentials.kerberosCache ? 1 : 0, callSeconds, connectSeconds, &code, why, sizeof why);
  *status = code;
  if (!connection) {
    *error = why;
    return nullptr;
  }
  return std::make_unique<RpcPipe>(connection);
}

RpcPipe::RpcPipe(vt_rpc* connection) : m_connection(connection) {}
RpcPipe::~RpcPipe() { vt_rpc_free(m_connection); }

bool RpcPipe::usable() const { return vt_rpc_connected(m_connection) != 0; }

DWORD RpcPipe::sessions(std::vector<RpcSession>* out) {
  out->clear();
  const auto receive = [](void* context, const vt_session* s) {
    const auto text = [](const char* t) { return std::string(t ? t : ""); };
    static_cast<std::vector<RpcSession>*>(context)->push_back(
        {text(s->client), text(s->user), s->opens, s->seconds, s->idle_seconds, s->flags,
         text(s->client_type)});
  };
  return vt_srvsvc_sessions(m_connection, receive, out);
}

DWORD RpcPipe::deleteSessions(std::string_view client, std::string_view user) {
  const std::string c(client), u(user);
  return vt_srvsvc_session_delete(m_connection, c.empty() ? nullptr : c.c_str(),
                                  u.empty() ? nullptr : u.c_str());
}

DWORD RpcPipe::accounts(libnetapi_ctx* netapi, const std::string& server, std::uint32_t acbFilter,
                        const std::function<void(const vt_samr_account&)>& take) {
  const auto receive = [](void* context, const vt_samr_account* account) {
    (*static_cast<const std::function<void(const vt_samr_account&)>*>(context))(*account);
  };
  return vt_samr_accounts(netapi, m_connection, server.c_str(), acbFilter, receive,
                          const_cast<std::function<void(const vt_samr_account&)>*>(&take));
}

DWORD RpcPipe::openRoot(std::uint32_t root, REGSAM access, RpcKey* out) {
  return vt_winreg_open_root(m_connection, root, access, out);
}

DWORD RpcPipe::openKey(const RpcKey& parent, std::string_view name, REGSAM access, RpcKey* out) {
  return vt_winreg_open(m_connection, &parent, std::string(name).c_str(), access, out);
}

DWORD RpcPipe::createKey(const RpcKey& parent, std::string_view name, DWORD options, REGSAM access,
                         RpcKey* out, DWORD* disposition) {
  std::uint32_t made = 0;
  const DWORD status = vt_winreg_create(m_connection, &parent, std::string(name).c_str(), options,
                                        access, out, &made);
  if (status == 0 && disposition) *disposition = made;
  return status;
}

DWORD RpcPipe::closeKey(const RpcKey& key) { return vt_winreg_close(m_connection, &key); }

namespace {

// A value's bytes read with `ask(type, buffer, size)`, the buffer grown to
// what the server says it needs.
template <class Ask>
DWORD readGrowing(std::vector<std::uint8_t>* raw, DWORD* type, Ask ask) {
  raw->assign(1024, 0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::uint32_t size = static_cast<std::uint32_t>(raw->size());
    std::uint32_t t = 0;
    const DWORD status = ask(&t, raw->data(), &size);
    if (status == kMoreData && size > raw->size()) {
      raw->assign(size, 0);
      continue;
    }
    if (status != 0) return status;
    raw->resize(size);
    *type = t;
    return 0;
  }
  return kMoreData;
}

}  // namespace

DWORD RpcPipe::deliver(DWORD storedType, std::span<const std::uint8_t> raw, DWORD* type,
                       std::span<std::uint8_t> data, DWORD* size) {
  std::vector<std::uint8_t> value(raw.begin(), raw.end());
  if (isText(storedType)) {
    const std::string text = utf8FromUtf16(raw.first(raw.size() & ~std::size_t{1}));
    value.assign(text.begin(), text.end());
  }
  if (type) *type = storedType;
  if (size) *size = static_cast<DWORD>(value.size());
  if (value.size() > data.size()) return kMoreData;
  std::copy(value.begin(), value.end(), data.begin());
  return 0;
}

DWORD RpcPipe::queryValue(const RpcKey& key, std::string_view name, DWORD* type,
                          std::span<std::uint8_t> data, DWORD* size) {
  const std::string n(name);
  DWORD stored = 0;
  std::vector<std::uint8_t> raw;
  const DWORD status =
      readGrowing(&raw, &stored, [&](std::uint32_t* t, std::uint8_t* b, std::uint32_t* got) {
        return vt_winreg_query(m_connection, &key, n.c_str(), t, b, got);
      });
  return status ? status : deliver(stored, raw, type, data, size);
}

DWORD RpcPipe::setValue(const RpcKey& key, std::string_view name, DWORD type,
                        std::span<const std::uint8_t> data) {
  const std::vector<std::uint8_t> raw =
      isText(type)
          ? utf16FromUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()))
          : std::vector<std::uint8_t>(data.begin(), data.end());
  return vt_winreg_set(m_connection, &key, std::string(name).c_str(), type, raw.data(),
                       static_cast<std::uint32_t>(raw.size()));
}

DWORD RpcPipe::deleteValue(const RpcKey& key, std::string_view name) {
  return vt_winreg_delete_value(m_connection, &key, std::string(name).c_str());
}

DWORD RpcPipe::enumValue(const RpcKey& key, DWORD index, std::string* name, DWORD* type,
                         std::span<std::uint8_t> data, DWORD* size) {
  std::vector<char> nameBuffer(16384 * 3 + 1);
  DWORD stored = 0;
  std::vector<std::uint8_t> raw;
  const DWORD status =
      readGrowing(&raw, &stored, [&](std::uint32_t* t, std::uint8_t* b, std::uint32_t* got) {
        return vt_winreg_enum_value(m_connection, &key, index, nameBuffer.data(), nameBuffer.size(),
                                    t, b, got);
      });
  if (status) return status;
  *name = nameBuffer.data();
  return deliver(stored, raw, type, data, size);
}

}  // namespace platform::samba
