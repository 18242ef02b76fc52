#include "platform/lab/journal.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lab {
namespace {

// The file grows by this much at a time, zero-filled and synced once, so
// that syncing a record does not also have to sync the file's size.
constexpr std::uint64_t kGrowth = 1u << 20;

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}
constexpr auto kCrcTable = makeCrcTable();

std::uint32_t crc32(std::string_view data) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : data) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string frame(std::string_view payload) {
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", crc32(payload));
  std::string line = std::to_string(payload.size());
  line += ' ';
  line += crc;
  line += ' ';
  line += payload;
  line += '\n';
  return line;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolder(const std::string& path) {
  const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool writeAll(int fd, const char* p, std::size_t n, std::uint64_t at) {
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, p, n, static_cast<off_t>(at));
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
    at += static_cast<std::uint64_t>(w);
  }
  return true;
}

bool writeZeros(int fd, std::uint64_t from, std::uint64_t to) {
  static constexpr std::array<char, 65536> kZeros{};
  while (from < to) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kZeros.size(), to - from));
    if (!writeAll(fd, kZeros.data(), n, from)) return false;
    from += n;
  }
  return true;
}

enum class Parse { Record, End, Bad };

// Reads the record at `at`: its payload and where the next one starts.
Parse parseRecord(std::string_view text, std::size_t at, std::string_view* payload,
                  std::size_t* next) {
  if (at >= text.size() || text[at] == '\0') return Parse::End;
  std::size_t length = 0;
  const char* p = text.data() + at;
  const char* end = text.data() + text.size();
  auto r = std::from_chars(p, end, length);
  if (r.ec != std::errc() || r.ptr == p || r.ptr >= end || *r.ptr != ' ') return Parse::Bad;
  p = r.ptr + 1;
  std::uint32_t crc = 0;
  r = std::from_chars(p, end, crc, 16);
  if (r.ec != std::errc() || r.ptr != p + 8 || r.ptr >= end || *r.ptr != ' ') return Parse::Bad;
  p = r.ptr + 1;
  if (static_cast<std::size_t>(end - p) < length + 1 || p[length] != '\n') return Parse::Bad;
  const std::string_view body(p, length);
  if (crc32(body) != crc) return Parse::Bad;
  *payload = body;
  *next = static_cast<std::size_t>(p + length + 1 - text.data());
  return Parse::Record;
}

// A record that cannot be read is one a crash cut short when nothing but
// zeros (or nothing at all) follows the line it starts.
bool onlyZerosAfterLine(std::string_view text, std::size_t at) {
  const auto newline = text.find('\n', at);
  if (newline == std::string_view::npos) return true;
  return text.find_first_not_of('\0', newline + 1) == std::string_view::npos;
}

std::string identityText(const LabIdentity& lab) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(lab.hash));
  return "\"labSize\":" + std::to_string(lab.size) + ",\"labHash\":\"" + hash + "\"";
}

std::string headerFor(const LabIdentity& lab) { return "{\"journal\":1," + identityText(lab) + "}"; }

constexpr std::string_view kFoldMarkStart = "{\"foldedInto\":";

std::string foldMarkFor(const LabIdentity& lab) {
  return std::string(kFoldMarkStart) + "{" + identityText(lab) + "}}";
}

bool isFoldMark(std::string_view payload) { return payload.starts_with(kFoldMarkStart); }

// Reads the whole of an open file; false with errno set.
bool readAll(int fd, std::string* text) {
  std::size_t got = 0;
  while (got < text->size()) {
    const ssize_t n = ::pread(fd, text->data() + got, text->size() - got, static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      text->resize(got);  // shorter than it was a moment ago
      break;
    }
    got += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

LabIdentity identityOf(std::string_view text) {
  // Four independent lanes keep the multiplier busy: a 72 MB lab hashes in
  // a few tens of milliseconds.
  std::uint64_t lanes[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                            0x27D4EB2F165667C5ull};
  constexpr std::uint64_t kMul = 0xFF51AFD7ED558CCDull;
  std::size_t i = 0;
  for (; i + 32 <= text.size(); i += 32) {
    for (int k = 0; k < 4; ++k) {
      std::uint64_t w;
      std::memcpy(&w, text.data() + i + 8 * k, 8);
      lanes[k] = (lanes[k] ^ w) * kMul;
      lanes[k] ^= lanes[k] >> 29;
    }
  }
  std::uint64_t h = text.size();
  for (auto lane : lanes) h = (h ^ lane) * kMul;
  for (; i < text.size(); ++i) h = (h ^ static_cast<unsigned char>(text[i])) * kMul;
  h ^= h >> 31;
  return {text.size(), h};
}

Journal::Journal(std::string labPath) : m_path(pathFor(labPath)) {}

Journal::~Journal() { closeFile(); }

void Journal::closeFile() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
  m_end = 0;
  m_capacity = 0;
  m_unsynced = false;
}

bool Journal::read(const LabIdentity& lab, std::vector<std::string>* records, Found* found,
                   std::string* error) {
  closeFile();
  *found = Found::Nothing;
  auto refuse = [&](const std::string& why) {
    if (error) *error = m_path + ": " + why;
    return false;
  };
  // Never through a link, and never waiting on a FIFO's writer.
  const int fd = ::open(m_path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return true;
    if (errno == ELOOP) return refuse("is a symbolic link; a journal is never read through one");
    return refuse(std::string("cannot open: ") + std::strerror(errno));
  }
  struct Closer {
    int fd;
    bool keep = false;
    ~Closer() { if (!keep) ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return refuse(std::string("cannot read: ") + std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return refuse("is not a regular file");
  if (static_cast<std::uint64_t>(st.st_size) > kMaxSize) {
    return refuse("holds " + std::to_string(st.st_size) + " bytes, more than the " +
                  std::to_string(kMaxSize >> 20) + " MiB a journal may hold");
  }
  std::string text(static_cast<std::size_t>(st.st_size), '\0');
  if (!readAll(fd, &text)) return refuse(std::string("cannot read: ") + std::strerror(errno));

  // Where the records end: zeros from there on, or the records are damaged.
  auto endsAt = [&](std::size_t at, std::size_t count) {
    const auto nonZero = text.find_first_not_of('\0', at);
    if (nonZero == std::string::npos) return true;
    if (error) {
      *error = m_path + ": byte " + std::to_string(at) + ": the journal is damaged (" +
               std::to_string(nonZero - at) + " zero bytes) and " +
               (count == 0 ? std::string("its header") : "change " + std::to_string(count + 1)) +
               " follows at byte " + std::to_string(nonZero) +
               "; nothing was changed: keep the journal for the changes it holds";
    }
    return false;
  };

  std::string_view payload;
  std::size_t at = 0, next = 0;
  const Parse head = parseRecord(text, 0, &payload, &next);
  if (head == Parse::End) return endsAt(0, 0);
  if (head == Parse::Bad) {
    // Started but cut off before its header was synced: no change in it
    // was ever reported done.
    if (onlyZerosAfterLine(text, 0)) return true;
    return refuse("byte 0: the journal's header is damaged and records follow it");
  }
  const bool forThisLab = payload == headerFor(lab);
  at = next;
  std::size_t count = 0;
  std::string_view last;
  while (true) {
    const Parse p = parseRecord(text, at, &payload, &next);
    if (p == Parse::End) {
      if (!endsAt(at, count)) return false;
      break;
    }
    if (p == Parse::Bad) {
      if (!onlyZerosAfterLine(text, at)) {
        return refuse("byte " + std::to_string(at) + ": change " + std::to_string(count + 1) +
                      " is damaged and changes follow it");
      }
      if (!forThisLab) break;
      // Cut short by a crash before it was synced: clear it so that the
      // next record does not follow a damaged one.
      const auto newline = text.find('\n', at);
      const std::uint64_t to = newline == std::string::npos ? text.size() : newline + 1;
      if (!writeZeros(fd, at, to) || ::fdatasync(fd) != 0)
        return refuse(std::string("cannot clear a change cut short: ") + std::strerror(errno));
      break;
    }
    last = payload;
    if (forThisLab && !isFoldMark(payload)) records->emplace_back(payload);
    ++count;
    at = next;
  }
  if (!forThisLab) {
    // Written for other content: one whose fold reached the lab file ends
    // with the mark naming the lab as it is now.
    *found = isFoldMark(last) && last == foldMarkFor(lab) ? Found::Folded : Found::OtherContent;
    records->clear();
    return true;
  }
  closer.keep = true;
  m_fd = fd;
  m_end = at;
  m_capacity = text.size();
  *found = Found::Records;
  return true;
}

bool Journal::reserve(std::uint64_t end, std::string* error) {
  if (end <= m_capacity) return true;
  const std::uint64_t capacity = (end / kGrowth + 1) * kGrowth;
  if (!writeZeros(m_fd, m_capacity, capacity) || ::fsync(m_fd) != 0) {
    if (error) *error = m_path + ": cannot write: " + std::strerror(errno);
    if (::ftruncate(m_fd, static_cast<off_t>(m_capacity)) != 0) {
      // The zeros past the records are read as the journal's end anyway.
    }
    return false;
  }
  m_capacity = capacity;
  return true;
}

bool Journal::start(const LabIdentity& lab, std::string* error) {
  // Never through a link planted at the journal's name; the journal holds
  // what the lab holds (password hashes), so it gets the lab file's mode.
  m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (m_fd < 0) {
    if (error) {
      *error = m_path + ": cannot create: " +
               (errno == ELOOP ? std::string("it is a symbolic link") : std::strerror(errno));
    }
    return false;
  }
  struct stat st {};
  if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fchmod(m_fd, m_mode) != 0) {
    if (error) *error = m_path + ": cannot create: not a regular file of this program's";
    ::close(m_fd);
    m_fd = -1;
    return false;
  }
  m_end = 0;
  m_capacity = 0;
  const std::string header = frame(headerFor(lab));
  if (!reserve(header.size(), error) || !writeAll(m_fd, header.data(), header.size(), 0) ||
      ::fdatasync(m_fd) != 0) {
    if (error && error->empty()) *error = m_path + ": cannot write: " + std::strerror(errno);
    ::unlink(m_path.c_str());
    closeFile();
    return false;
  }
  syncFolder(m_path);
  m_end = header.size();
  return true;
}

bool Journal::append(const LabIdentity& lab, std::string_view payload, bool sync,
                     std::string* error) {
  if (m_fd < 0 && !start(lab, error)) return false;
  const std::string line = frame(payload);
  if (!reserve(m_end + line.size(), error)) return false;
  if (!writeAll(m_fd, line.data(), line.size(), m_end) || (sync && ::fdatasync(m_fd) != 0)) {
    if (error) *error = m_path + ": cannot write: " + std::strerror(errno);
    // Whatever part reached the file must not pass for a record.
    if (writeZeros(m_fd, m_end, m_end + line.size())) ::fdatasync(m_fd);
    return false;
  }
  m_end += line.size();
  m_unsynced = !sync;
  return true;
}

bool Journal::sync(std::string* error) {
  if (m_fd < 0 || !m_unsynced) return true;
  if (::fdatasync(m_fd) != 0) {
    if (error) *error = m_path + ": cannot write: " + std::strerror(errno);
    return false;
  }
  m_unsynced = false;
  return true;
}

bool Journal::markFolded(const LabIdentity& into, std::string* error) {
  if (m_fd < 0) return true;  // nothing to mark: no journal
  return append(into, foldMarkFor(into), true, error);
}

bool Journal::remove(std::string* error) {
  closeFile();
  if (::unlink(m_path.c_str()) != 0 && errno != ENOENT) {
    if (error) *error = m_path + ": cannot remove: " + std::strerror(errno);
    return false;
  }
  syncFolder(m_path);
  return true;
}

}  // namespace lab
