// Storage per owner: every file below the root path, its size added under
// its owner.

#include "dlgthreads/files_paths.h"
#include "dlgthreads/files_walks.h"
#include "dlgthreads/owner_totals.h"
#include "dlgthreads/printf_text.h"
#include "dlgthreads/sid_names.h"
#include "platform/files.h"

namespace dlgthreads {
namespace {

using namespace platform;

constexpr DWORD kDescriptorBuffer = 65556;

class OwnerWalk {
 public:
  OwnerWalk(const std::shared_ptr<WorkerBlock>& block, std::string root)
      : m_block(block), m_totals(block->files), m_names(serverOfPath(root)),
        m_path(std::move(root)) {}

  void run() {
    level(true);
    m_totals.finish();
    if (m_totals.capped()) showWorkerMessage(*m_block, std::string(kFilesAreaFullText), "");
  }

 private:
  void level(bool outermost) {
    BeginWork(*m_block);
    walkLevel(outermost);
    if (!outermost) FinishWork(m_block);
  }

  void walkLevel(bool outermost) {
    if (m_block->cancelled()) return;
    FindHandle find;
    WIN32_FIND_DATA data;
    const DWORD status = FindFirstFile(m_path + "*.*", find.out(), &data);
    if (status == ERROR_ACCESS_DENIED) {
      m_totals.add("<dirlist denied>", "<dirlist denied>", "", 1);
      return;
    }
    if (status != ERROR_SUCCESS) {
      // An empty directory lists nothing; a root that cannot be listed at
      // all is worth saying so.
      if (outermost && status != ERROR_FILE_NOT_FOUND)
        showWorkerMessage(*m_block, printfText(kRootNotListedText.data(), m_path.c_str(),
                                               static_cast<int>(status)), "");
      return;
    }
    do {
      if (m_block->cancelled()) return;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (data.cFileName == "." || data.cFileName == "..") continue;
        const std::size_t keep = m_path.size();
        m_path += data.cFileName;
        m_path += '\\';
        level(false);
        m_path.resize(keep);
      } else {
        addFile(data);
      }
    } while (FindNextFile(find.get(), &data) == ERROR_SUCCESS);
  }

  void addFile(const WIN32_FIND_DATA& data) {
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    SECURITY_DESCRIPTOR sd;
    DWORD needed = 0;
    const DWORD status = GetFileSecurity(m_path + data.cFileName, OWNER_SECURITY_INFORMATION, &sd,
                                         kDescriptorBuffer, &needed);
    if (status == ERROR_ACCESS_DENIED) return m_totals.add("<access denied>", "<access denied>", "", size);
    if (status != ERROR_SUCCESS) return m_totals.add("<missing>", "<missing>", "", size);
    if (!IsValidSecurityDescriptor(sd))
      showWorkerMessage(*m_block, std::string(kInvalidDescriptorText), std::string(kFatalCaption));
    const SID* owner = nullptr;
    BOOL defaulted = 0;
    if (GetSecurityDescriptorOwner(sd, &owner, &defaulted) != ERROR_SUCCESS || owner == nullptr ||
        owner->empty())
      return m_totals.add("<unknown>", "<unknown>", "", size);
    const SidName& name = m_names.lookUp(*owner);
    if (name.found && name.use == SidTypeDeletedAccount)
      return m_totals.add(owner->value, "<account deleted>", name.account, size);
    m_totals.add(owner->value, name.found ? name.name : owner->value, name.account, size);
  }

  const std::shared_ptr<WorkerBlock>& m_block;
  OwnerTotals m_totals;
  SidNames m_names;
  std::string m_path;
};

}  // namespace

void ownerWalk(const std::shared_ptr<WorkerBlock>& block) {
  OwnerWalk walk(block, withFinalBackslash(block->state.settings.f_root_path));
  walk.run();
  FinishWork(block);
}

}  // namespace dlgthreads
