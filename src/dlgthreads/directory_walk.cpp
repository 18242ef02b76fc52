#include "dlgthreads/directory_walk.h"

#include "dlgthreads/files_walks.h"
#include "dlgthreads/printf_text.h"

namespace dlgthreads {
namespace {

using namespace platform;

class DirectoryWalk {
 public:
  DirectoryWalk(const std::shared_ptr<WorkerBlock>& block, std::string root, DirectoryVisitor& visitor)
      : m_block(block), m_path(std::move(root)), m_visitor(visitor) {}

  void level(bool outermost) {
    BeginWork(*m_block);
    walkLevel(outermost);
    if (!outermost) FinishWork(m_block);
  }

 private:
  bool stopped() const { return m_block->cancelled() || m_visitor.stopped(); }

  void walkLevel(bool outermost) {
    if (stopped()) return;
    FindHandle find;
    WIN32_FIND_DATA data;
    const DWORD status = FindFirstFile(m_path + "*.*", find.out(), &data);
    if (status == ERROR_ACCESS_DENIED) {
      m_visitor.listingDenied(m_path);
      return;
    }
    if (status != ERROR_SUCCESS) {
      // An empty directory lists nothing; a root that cannot be listed at
      // all is worth saying so.
      if (outermost && status != ERROR_FILE_NOT_FOUND)
        showRefusal(*m_block,
                    printfText(kRootNotListedText.data(), m_path.c_str(), static_cast<int>(status)),
                    "");
      return;
    }
    do {
      if (stopped()) return;
      const bool directory = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      if (directory && (data.cFileName == "." || data.cFileName == "..")) continue;
      const std::size_t keep = m_path.size();
      m_path += data.cFileName;
      if (directory) {
        m_visitor.directory(m_path);
        m_path += '\\';
        level(false);
      } else {
        m_visitor.file(m_path, data);
      }
      m_path.resize(keep);
    } while (FindNextFile(find.get(), &data) == ERROR_SUCCESS);
  }

  const std::shared_ptr<WorkerBlock>& m_block;
  std::string m_path;
  DirectoryVisitor& m_visitor;
};

}  // namespace

void walkDirectory(const std::shared_ptr<WorkerBlock>& block, std::string root,
                   DirectoryVisitor& visitor) {
  DirectoryWalk(block, std::move(root), visitor).level(true);
}

}  // namespace dlgthreads
