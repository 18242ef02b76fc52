#pragma once
// The walk below a directory that the Files display's walks share: it lists
// each level, keeps the path, stops on a cancel (or when the visitor says
// so), and makes each level one BeginWork / FinishWork pair, the outermost
// level's FinishWork left to the caller, which hands the block over.

#include <memory>
#include <string>

#include "dlgthreads/worker_frame.h"
#include "platform/files.h"

namespace dlgthreads {

class DirectoryVisitor {
 public:
  virtual ~DirectoryVisitor() = default;
  // True once the visitor wants no more (its list is full).
  virtual bool stopped() const { return false; }
  // A directory below the root that may not be listed; `directory` ends in
  // a backslash.
  virtual void listingDenied(const std::string& directory) = 0;
  // A directory, before what it holds; `path` has no final backslash.
  virtual void directory(const std::string& path) { (void)path; }
  virtual void file(const std::string& path, const platform::WIN32_FIND_DATA& data) = 0;
};

// Walks everything below `root` (which ends in a backslash). A root that
// cannot be listed is said in a message; an empty one lists nothing.
void walkDirectory(const std::shared_ptr<WorkerBlock>& block, std::string root,
                   DirectoryVisitor& visitor);

}  // namespace dlgthreads
