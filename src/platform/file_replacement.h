#pragma once
// Replacing a file so that readers see either the old content or the new,
// never a mixture, and nobody else's file is written on the way.
//
//   platform::FileReplacement out;
//   if (!out.open(path)) return fail(out.error());
//   for (...) if (!out.write(piece)) return fail(out.error());
//   if (!out.commit()) return fail(out.error());
//   // leaving the scope without commit() discards what was written
//
// A regular file (or a name that does not exist yet) is filled under a fresh
// temporary name beside it, made exclusively (never through a link someone
// planted there), and renamed over it on commit. The new file keeps the mode
// of the file it replaces, and its owner and group where the process may set
// them; a new file gets 0666 less the umask. Anything else that already
// exists (a FIFO, a terminal, /dev/stdout, a device) is written in place: a
// rename would put a regular file where the special one was.

#include <string>
#include <string_view>

#include <sys/types.h>

namespace platform {

struct ReplacementOptions {
  // A link at the path: true replaces the file it names; false replaces the
  // link itself (the new file keeps the mode of the file it named).
  bool followLink = true;
  // The temporary file is named the target's name, this, then six random
  // characters; a reader of the folder can tell a leftover by it.
  std::string temporaryInfix = ".";
  // Fill a temporary file even for a target written in place, for a writer
  // that needs a real file of its own (temporaryPath()); commit() then
  // copies its bytes into the target.
  bool alwaysTemporary = false;
};

class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement() { discard(); }
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Opens the replacement of `path`. Fails on a folder, a regular file the
  // process may not write, or a folder where no file can be made. Opening a
  // FIFO waits for its reader, as a shell's redirection does.
  bool open(const std::string& path, const ReplacementOptions& options = {});
  // Appends bytes to what commit() puts in place.
  bool write(std::string_view bytes);
  // Puts the written bytes in place; a failure leaves a regular target as
  // it was. After commit (either way) the object is closed.
  bool commit();
  // Forgets what was written; the target stays as it was.
  void discard();

  bool isOpen() const { return m_out >= 0 || m_temp >= 0; }
  // True when the bytes go straight into a target that is not a regular file.
  bool inPlace() const { return m_target >= 0; }
  // The temporary file being filled; empty when there is none.
  const std::string& temporaryPath() const { return m_tempPath; }
  // The file that is replaced (a followed link resolved).
  const std::string& targetPath() const { return m_targetPath; }

  // After a failure: "PATH: what failed: the system's reason".
  const std::string& error() const { return m_error; }
  // After a failure: the system's reason alone ("No space left on device").
  const std::string& reason() const { return m_reason; }

 private:
  bool fail(std::string_view what, int err);
  // 0, or the errno of a temporary file that could not be made.
  int openTemporary(const std::string& beside, const std::string& infix);
  bool writeAll(int fd, std::string_view bytes);
  bool copyTemporaryIntoTarget();
  bool renameIntoPlace();

  std::string m_targetPath;
  std::string m_tempPath;
  int m_target = -1;  // a target written in place
  int m_temp = -1;    // the temporary file, when there is one
  int m_out = -1;     // where write() goes: one of the two
  bool m_existed = false;
  mode_t m_mode = 0;
  uid_t m_uid = 0;
  gid_t m_gid = 0;
  std::string m_error;
  std::string m_reason;
};

// Removes the temporary files a replacement of `path` with `infix` left
// behind when its process stopped half-way. Only the names are removed:
// a link among them is unlinked, never followed.
void removeReplacementLeftovers(const std::string& path, std::string_view infix);

// The mode a new file gets: 0666 less the process's umask.
mode_t newFileMode();

}  // namespace platform
