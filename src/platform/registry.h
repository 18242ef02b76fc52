#pragma once
// Registry operations on the local machine and, through RegConnectRegistry,
// on remote machines. Values keep their stored size exactly: a REG_SZ text's
// size counts its terminating zero byte.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

// An open key handle; 0 is no key. The predefined roots are fixed values.
using HKEY = std::uint64_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;

using REGSAM = DWORD;
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                    HKEY* result, DWORD* disposition);
LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                  HKEY* result);
LONG RegCloseKey(HKEY key);
// Connects to a predefined root (HKEY_LOCAL_MACHINE, HKEY_USERS) of a machine;
// an empty machine name is the local machine.
LONG RegConnectRegistry(std::string_view machinename, HKEY key, HKEY* result);

// Reads a value into `data` (its size is the caller's buffer size). On success
// *cbData is the stored size; when the value does not fit, ERROR_MORE_DATA and
// *cbData the size needed. type and cbData may be null.
LONG RegQueryValueEx(HKEY key, std::string_view valuename, DWORD* type,
                     std::span<std::uint8_t> data, DWORD* cbData);
LONG RegSetValueEx(HKEY key, std::string_view valuename, DWORD type,
                   std::span<const std::uint8_t> data);
LONG RegDeleteValue(HKEY key, std::string_view valuename);
// Enumerates values by index in stored order. nameCapacity and data.size()
// are the caller's buffer sizes in characters (with the terminating zero)
// and bytes; too small gives ERROR_MORE_DATA; past the end ERROR_NO_MORE_ITEMS.
LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity,
                  DWORD* type, std::span<std::uint8_t> data, DWORD* cbData);

// The bytes of a REG_SZ value for `text`, terminating zero included.
std::vector<std::uint8_t> regSzBytes(std::string_view text);
// The bytes of a REG_DWORD value (little-endian).
std::vector<std::uint8_t> regDwordBytes(DWORD value);

// Closes the key when it goes out of scope. Predefined roots are not closed.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY key) : m_key(key) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : m_key(other.release()) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~RegKey() { reset(); }

  HKEY get() const { return m_key; }
  HKEY* out() { reset(); return &m_key; }
  explicit operator bool() const { return m_key != 0; }
  HKEY release() { HKEY k = m_key; m_key = 0; return k; }
  void reset(HKEY key = 0) {
    if (m_key != 0 && (m_key & 0x80000000u) == 0) RegCloseKey(m_key);
    m_key = key;
  }

 private:
  HKEY m_key = 0;
};

}  // namespace platform
