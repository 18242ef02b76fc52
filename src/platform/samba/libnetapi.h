#pragma once
// Samba's libnetapi, for the files that call it. Include it after the
// platform headers: it defines as macros some names the platform declares
// as constants (ERROR_MORE_DATA, FILTER_*, TIMEQ_FOREVER, USER_PRIV_*), and
// the platform's constants are the ones this code means. Its types and
// functions are global (::USER_INFO_3, ::NetUserEnum); code in
// platform::samba reaches the platform's by plain name.

#include <cstdint>

#include "platform/types.h"

#include <netapi.h>

#undef ERROR_MORE_DATA
#undef FILTER_TEMP_DUPLICATE_ACCOUNT
#undef FILTER_NORMAL_ACCOUNT
#undef FILTER_INTERDOMAIN_TRUST_ACCOUNT
#undef FILTER_WORKSTATION_TRUST_ACCOUNT
#undef FILTER_SERVER_TRUST_ACCOUNT
#undef TIMEQ_FOREVER
#undef USER_PRIV_GUEST
#undef USER_PRIV_USER
#undef USER_PRIV_ADMIN

namespace platform::samba {

// NetWkstaGetInfo's level-100 answer, which the 4.17 header does not
// declare (the library fills it in this layout).
struct NetapiWkstaInfo100 {
  std::uint32_t wki100_platform_id;
  const char* wki100_computername;
  const char* wki100_langroup;
  std::uint32_t wki100_ver_major;
  std::uint32_t wki100_ver_minor;
};

// A result buffer of libnetapi, freed with NetApiBufferFree. The library
// resizes a buffer it is handed, so each call gets a fresh, null one.
class NetapiBuffer {
 public:
  NetapiBuffer() = default;
  ~NetapiBuffer() { reset(); }
  NetapiBuffer(const NetapiBuffer&) = delete;
  NetapiBuffer& operator=(const NetapiBuffer&) = delete;

  std::uint8_t** out() {
    reset();
    return &m_data;
  }
  template <class T>
  const T* as() const {
    return reinterpret_cast<const T*>(m_data);
  }
  void reset() {
    if (m_data) ::NetApiBufferFree(m_data);
    m_data = nullptr;
  }

 private:
  std::uint8_t* m_data = nullptr;
};

// libnetapi's enumerations, read whole: the platform pages them itself.
template <class Raw, class Call, class Take>
DWORD enumerateAll(Call call, Take take) {
  std::uint32_t resume = 0;
  for (;;) {
    NetapiBuffer buf;
    std::uint32_t read = 0;
    std::uint32_t total = 0;
    const DWORD status = call(buf.out(), &read, &total, &resume);
    if (status != NERR_Success && status != ERROR_MORE_DATA) return status;
    const auto* entries = buf.as<Raw>();
    for (std::uint32_t i = 0; entries && i < read; ++i) take(entries[i]);
    if (status == NERR_Success || read == 0) return NERR_Success;
  }
}

}  // namespace platform::samba
