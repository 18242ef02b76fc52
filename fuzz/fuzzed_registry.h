#pragma once
// A registry whose every key exists and whose values come from the fuzzer's
// input: each read takes the next record (a status choice, a type, a length
// and the bytes), so the readers meet every type, size and failure a real
// registry can answer with. It keeps the registry's contract (a value is
// copied only when it fits, and a size query answers the size), as a
// backend must.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "platform/parts/local_system_part.h"

namespace fuzzing {

using namespace platform;

class FuzzedRegistry final : public LocalSystemPart {
 public:
  explicit FuzzedRegistry(std::span<const std::uint8_t> input) : m_input(input) {}

  LONG RegCreateKeyEx(HKEY, std::string_view, DWORD, REGSAM, HKEY* result,
                      DWORD* disposition) override {
    if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
    return open(result);
  }
  LONG RegOpenKeyEx(HKEY, std::string_view, DWORD, REGSAM, HKEY* result) override {
    return open(result);
  }
  LONG RegConnectRegistry(std::string_view, HKEY, HKEY* result) override { return open(result); }
  LONG RegCloseKey(HKEY) override { return 0; }
  LONG RegSetValueEx(HKEY, std::string_view, DWORD, std::span<const std::uint8_t>) override {
    return 0;
  }
  LONG RegDeleteValue(HKEY, std::string_view) override { return 0; }

  LONG RegQueryValueEx(HKEY, std::string_view, DWORD* type, std::span<std::uint8_t> data,
                       DWORD* cbData) override {
    Record r;
    if (!next(&r)) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    if (r.failure != 0) return static_cast<LONG>(r.failure);
    return answer(r, type, data, cbData);
  }

  LONG RegEnumValue(HKEY, DWORD, std::string* name, DWORD nameCapacity, DWORD* type,
                    std::span<std::uint8_t> data, DWORD* cbData) override {
    Record r;
    if (!next(&r)) return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
    if (r.failure != 0) return static_cast<LONG>(r.failure);
    const std::string text(reinterpret_cast<const char*>(r.bytes.data()),
                           std::min<std::size_t>(r.bytes.size(), 32));
    if (text.size() + 1 > nameCapacity) return static_cast<LONG>(ERROR_MORE_DATA);
    if (name) *name = text;
    return answer(r, type, data, cbData);
  }

 private:
  struct Record {
    DWORD failure = 0;
    DWORD type = 0;
    std::span<const std::uint8_t> bytes;
  };

  LONG open(HKEY* result) {
    if (m_input.empty() || m_input.front() != 0xFF) {
      if (result) *result = ++m_handles;
      return 0;
    }
    m_input = m_input.subspan(1);  // a refused key
    return static_cast<LONG>(ERROR_ACCESS_DENIED);
  }

  bool next(Record* r) {
    if (m_input.size() < 4) return false;
    const std::uint8_t choice = m_input[0];
    r->failure = choice < 0xF0 ? 0 : choice < 0xF8 ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
    r->type = m_input[1] % 12;
    const std::size_t length = std::min<std::size_t>(
        static_cast<std::size_t>(m_input[2]) | static_cast<std::size_t>(m_input[3]) << 8,
        m_input.size() - 4);
    r->bytes = m_input.subspan(4, length);
    m_input = m_input.subspan(4 + length);
    return true;
  }

  static LONG answer(const Record& r, DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) {
    if (type) *type = r.type;
    if (cbData) *cbData = static_cast<DWORD>(r.bytes.size());
    if (data.empty()) return 0;
    if (data.size() < r.bytes.size()) return static_cast<LONG>(ERROR_MORE_DATA);
    if (!r.bytes.empty()) std::memcpy(data.data(), r.bytes.data(), r.bytes.size());
    return 0;
  }

  std::span<const std::uint8_t> m_input;
  HKEY m_handles = 0;
};

}  // namespace fuzzing
