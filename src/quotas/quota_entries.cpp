#include "quotas/quota_entries.h"

#include <array>
#include <cstring>

#include "dlgthreads/quota_data.h"

namespace quotas {

using namespace platform;

RegKey connectQuotaRoot(std::string_view server) {
  RegKey root;
  if (RegConnectRegistry(server, HKEY_LOCAL_MACHINE, root.out()) != ERROR_SUCCESS) root.release();
  return root;
}

RegKey openDirectories(const RegKey& root, bool create, LONG* status) {
  RegKey key;
  DWORD disposition = 0;
  *status = create
                ? RegCreateKeyEx(root.get(), dlgthreads::kQuotaDirectoriesKey,
                                 REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, key.out(), &disposition)
                : RegOpenKeyEx(root.get(), dlgthreads::kQuotaDirectoriesKey, 0, KEY_ALL_ACCESS,
                               key.out());
  if (*status != ERROR_SUCCESS) key.release();
  return key;
}

std::optional<std::string> readEntry(const RegKey& directories, std::string_view directory,
                                     LONG* status) {
  std::array<std::uint8_t, dlgthreads::kQuotaDataBytes> data{};
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(data.size());
  *status = RegQueryValueEx(directories.get(), directory, &type, data, &size);
  if (*status != ERROR_SUCCESS) return std::nullopt;
  const auto* chars = reinterpret_cast<const char*>(data.data());
  return std::string(chars, strnlen(chars, std::min<std::size_t>(size, data.size())));
}

LONG writeEntry(const RegKey& directories, std::string_view directory, std::string_view data) {
  return RegSetValueEx(directories.get(), directory, REG_SZ, regSzBytes(data));
}

std::string writeFailedMessage(LONG status, std::string_view directory) {
  return "Error " + std::to_string(status) + " writing the quota on:\n" + std::string(directory) +
         ".";
}

}  // namespace quotas
