#include "dlgthreads/quota_worker.h"

#include <array>
#include <cstring>

#include "platform/registry.h"
#include "resources/strings.h"

namespace dlgthreads {

using namespace platform;

std::string quotaConnectionMessage(std::string_view server) {
  return "Failed while connecting to remote or local registry\nRegistry name: " +
         std::string(server) + ".";
}

QuotaReadResult readQuotaEntries(std::string_view server, std::vector<QuotaRecord>& out,
                                 const std::atomic<bool>* cancelled) {
  RegKey root;
  if (RegConnectRegistry(server, HKEY_LOCAL_MACHINE, root.out()) != ERROR_SUCCESS) {
    root.release();
    return QuotaReadResult::NoConnection;
  }
  RegKey directories;
  if (RegOpenKeyEx(root.get(), kQuotaDirectoriesKey, 0, KEY_READ, directories.out()) !=
      ERROR_SUCCESS) {
    directories.release();
    return QuotaReadResult::NoDirectoriesKey;
  }
  std::array<std::uint8_t, kQuotaDataBytes> data{};
  std::string name;
  for (DWORD index = 0;; ++index) {
    if (cancelled != nullptr && cancelled->load(std::memory_order_acquire)) break;
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(data.size());
    const LONG status =
        RegEnumValue(directories.get(), index, &name, kQuotaNameChars, &type, data, &size);
    if (static_cast<DWORD>(status) == ERROR_MORE_DATA)
      continue;                          // too large for the buffers: not ours to show
    if (status != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS, or the key is gone
    const auto* chars = reinterpret_cast<const char*>(data.data());
    const std::size_t stored = std::min<std::size_t>(size, data.size());
    out.push_back(parseQuotaData(name, std::string_view(chars, strnlen(chars, stored))));
  }
  return QuotaReadResult::Read;
}

void gatherQuotas(std::shared_ptr<WorkerBlock> block) {
  BeginWork(*block);
  std::vector<QuotaRecord> records;
  const std::string server = block->state.selectedServer;
  if (readQuotaEntries(server, records, &block->cancel) == QuotaReadResult::NoConnection)
    showRefusal(*block, quotaConnectionMessage(server), res::programTitle());
  if (block->quotas.allocate(records.size() + 1)) {
    for (QuotaRecord& record : records) *block->quotas.append() = std::move(record);
    block->quotas.finish();
  }
  FinishWork(block);
}

}  // namespace dlgthreads
