// Storage per owner: every file below the root path, its size added under
// its owner.

#include "dlgthreads/directory_walk.h"
#include "dlgthreads/files_paths.h"
#include "dlgthreads/files_walks.h"
#include "dlgthreads/owner_totals.h"
#include "dlgthreads/sid_names.h"
#include "platform/files.h"

namespace dlgthreads {
namespace {

using namespace platform;

constexpr DWORD kDescriptorBuffer = 65556;

class OwnerWalk : public DirectoryVisitor {
 public:
  OwnerWalk(const std::shared_ptr<WorkerBlock>& block, const std::string& root)
      : m_block(block), m_totals(block->files), m_names(serverOfPath(root)) {}

  void run(std::string root) {
    walkDirectory(m_block, std::move(root), *this);
    m_totals.finish();
    if (m_totals.capped()) showWorkerMessage(*m_block, std::string(kFilesAreaFullText), "");
  }

 private:
  void listingDenied(const std::string&) override {
    m_totals.add("<dirlist denied>", "<dirlist denied>", "", 1);
  }

  void file(const std::string& path, const WIN32_FIND_DATA& data) override {
    const std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    SECURITY_DESCRIPTOR sd;
    DWORD needed = 0;
    const DWORD status = GetFileSecurity(path, OWNER_SECURITY_INFORMATION, &sd,
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
};

}  // namespace

void ownerWalk(const std::shared_ptr<WorkerBlock>& block) {
  std::string root = withFinalBackslash(block->state.settings.f_root_path);
  OwnerWalk walk(block, root);
  walk.run(std::move(root));
  FinishWork(block);
}

}  // namespace dlgthreads
