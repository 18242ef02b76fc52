#pragma once
// A lab file's text as the fast reader needs it: followed by some readable
// bytes, which it may read ahead into. A big file is mapped rather than
// copied when its last page leaves that room; otherwise it is read into a
// buffer with the room added.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <simdjson.h>

namespace lab {

// The largest lab file read, checked before any of it is: some fourteen
// times the generated 100,000-account lab. Only a regular file is read (a
// directory, a pipe or a device such as /dev/zero is refused at once).
inline constexpr std::uint64_t kMaxLabFileBytes = std::uint64_t{1} << 30;

// Whether `path` is a lab file that can be read: a regular file within the
// limit. False with *error saying why not.
bool checkLabFile(const std::string& path, std::string* error);
// Reads a whole lab file under the same rules.
bool readLabFile(const std::string& path, std::string* text, std::string* error);

class LabText {
 public:
  LabText() = default;
  // A copy of `text` with the room after it.
  explicit LabText(std::string_view text) : m_copy(text.data(), text.size()) {}
  ~LabText() { release(); }
  LabText(const LabText&) = delete;
  LabText& operator=(const LabText&) = delete;

  // Loads a lab file; false with *error when it cannot be read, is no
  // regular file or is larger than kMaxLabFileBytes.
  bool load(const std::string& path, std::string* error);
  std::string_view view() const;
  // Gives the memory back.
  void release();

 private:
  simdjson::padded_string m_copy;
  void* m_map = nullptr;
  std::size_t m_mapLength = 0;
  std::size_t m_size = 0;  // of the mapped text
};

}  // namespace lab
