// A lab's journal replayed onto the default lab: the lab loads or is refused
// with a reason, and a lab that loads writes back to text that loads again.
//
// The first byte picks how the rest becomes a journal: each line framed as
// a record (the usual case), the same with the last record cut short, or
// the lines framed and then the raw bytes after them (damage of any kind).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "platform/lab/journal.h"
#include "platform/lab/lab.h"

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
  static const fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("veltrane-journal-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

void appendRaw(const std::string& path, std::uint64_t at, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return;
  if (::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(at)) < 0) {
    // A journal shorter than asked is one more kind of damage.
  }
  ::close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int mode = data[0] % 3;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string labPath = (folder() / "lab.json").string();
  const std::string_view labText = lab::defaultLabJson();
  std::ofstream(labPath, std::ios::binary | std::ios::trunc) << labText;
  fs::remove(lab::Journal::pathFor(labPath));

  const std::vector<std::string_view> lines = linesOf(mode == 2 ? rest.substr(0, rest.find('\x01')) : rest);
  {
    lab::Journal journal(labPath);
    std::string error;
    for (const auto line : lines) {
      if (!journal.append(lab::identityOf(labText), line, false, &error)) break;
    }
    if (mode == 1 && journal.size() > 4) {
      // The last record cut short: its tail zeroed as a crash leaves it.
      const std::uint64_t end = journal.size();
      appendRaw(journal.path(), end - std::min<std::uint64_t>(end - 1, 3 + lines.size() % 7),
                std::string(8, '\0'));
    }
    if (mode == 2 && rest.find('\x01') != std::string_view::npos) {
      appendRaw(journal.path(), journal.size(), rest.substr(rest.find('\x01') + 1));
    }
  }

  std::string error;
  auto lab = lab::loadLabFile(labPath, &error);
  if (!lab) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  std::string again;
  if (!lab::labFromJson(lab->toJson(), "replayed.json", &again)) std::abort();
  lab.reset();
  return 0;
}
