#pragma once
// Keeps other processes from opening the same lab file: an exclusive lock on
// "<lab>.lock" beside it, held while the lab is open and removed after.

#include <string>

namespace lab {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock for `labPath`. False with *error when another process
  // holds it (or the lock file cannot be made).
  bool acquire(const std::string& labPath, std::string* error);
  void release();

 private:
  int m_fd = -1;
  std::string m_path;
};

}  // namespace lab
