// The rights dump: for each directory (and file) below the root path, each
// account of its access list with the rights it is given.

#include "dlgthreads/directory_walk.h"
#include "dlgthreads/files_paths.h"
#include "dlgthreads/files_walks.h"
#include "dlgthreads/rights_text.h"
#include "dlgthreads/sid_names.h"
#include "platform/files.h"

namespace dlgthreads {
namespace {

using namespace platform;

constexpr DWORD kDescriptorBuffer = 65556;

class RightsDump : public DirectoryVisitor {
 public:
  RightsDump(const std::shared_ptr<WorkerBlock>& block, const std::string& root)
      : m_block(block), m_names(serverOfPath(root)),
        m_filesToo(block->state.settings.f_directories_only == 0) {}

  void run(std::string root) {
    walkDirectory(m_block, std::move(root), *this);
    if (m_capped) showWorkerMessage(*m_block, std::string(kFilesAreaFullText), "");
  }

 private:
  bool stopped() const override { return m_capped; }

  void listingDenied(const std::string& directory) override {
    const bool backslash = directory.size() > 1 && directory.back() == '\\';
    startBlock("<dirlist denied>", backslash ? directory.substr(0, directory.size() - 1) : directory, "");
  }

  void directory(const std::string& path) override { dumpObject(path, false); }

  void file(const std::string& path, const WIN32_FIND_DATA&) override {
    if (m_filesToo) dumpObject(path, true);
  }

  void dumpObject(const std::string& path, bool isFile) {
    SECURITY_DESCRIPTOR sd;
    DWORD needed = 0;
    const DWORD status = GetFileSecurity(path, DACL_SECURITY_INFORMATION, &sd, kDescriptorBuffer, &needed);
    if (status == ERROR_ACCESS_DENIED) return startBlock("<access denied>", path, "");
    if (status != ERROR_SUCCESS) return startBlock("<missing>", path, "");
    if (!IsValidSecurityDescriptor(sd)) {
      if (isFile)
        showWorkerMessage(*m_block, std::string(kInvalidDescriptorText), std::string(kFatalCaption));
      return;
    }
    BOOL present = 0;
    BOOL defaulted = 0;
    const ACL* dacl = nullptr;
    if (GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) != ERROR_SUCCESS || !present) return;
    // A NULL access list lets everyone do everything.
    if (dacl == nullptr) return startBlock("NULL", path, rightsText(FILE_ALL_ACCESS));
    ACL_SIZE_INFORMATION info;
    if (GetAclInformation(*dacl, &info) != ERROR_SUCCESS) return;
    bool first = true;
    FilesEntry* previous = nullptr;
    for (DWORD i = 0; i < info.AceCount; ++i) {
      const ACE* ace = nullptr;
      if (GetAce(*dacl, i, &ace) != ERROR_SUCCESS) continue;
      // Every entry of the list is shown, an inherit-only one (for what is
      // created below) too; an audit entry grants nothing.
      if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE && ace->AceType != ACCESS_DENIED_ACE_TYPE) continue;
      const std::string& account = m_names.lookUp(ace->Sid).account;
      // A deny entry's letters are the rights it takes away: read, write
      // and execute are denied by their own bits, not by the bits to read
      // the descriptor and to wait that all three share.
      std::string rights = ace->AceType == ACCESS_DENIED_ACE_TYPE
                               ? "Deny " + rightsText(ace->Mask | READ_CONTROL | SYNCHRONIZE)
                               : rightsText(ace->Mask);
      if (previous != nullptr && previous->name == account && previous->path == path) {
        previous->rights += ' ';
        previous->rights += rights;
        continue;
      }
      previous = append(account, path, std::move(rights), first);
      if (previous == nullptr) return;
      first = false;
    }
  }

  void startBlock(std::string name, std::string path, std::string rights) {
    append(std::move(name), std::move(path), std::move(rights), true);
  }

  FilesEntry* append(std::string name, std::string path, std::string rights, bool first) {
    FilesEntry* entry = m_block->files.at(m_used);
    if (entry == nullptr) {
      m_capped = true;
      return nullptr;
    }
    ++m_used;
    entry->name = std::move(name);
    entry->path = std::move(path);
    entry->rights = std::move(rights);
    entry->count = first ? 1 : 0;
    return entry;
  }

  const std::shared_ptr<WorkerBlock>& m_block;
  SidNames m_names;
  bool m_filesToo;
  std::size_t m_used = 0;
  bool m_capped = false;
};

}  // namespace

void rightsDump(const std::shared_ptr<WorkerBlock>& block) {
  std::string root = withFinalBackslash(block->state.settings.f_root_path);
  RightsDump dump(block, root);
  dump.run(std::move(root));
  FinishWork(block);
}

}  // namespace dlgthreads
