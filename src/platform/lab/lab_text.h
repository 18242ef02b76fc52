#pragma once
// A lab file's text as the fast reader needs it: followed by some readable
// bytes, which it may read ahead into. A big file is mapped rather than
// copied when its last page leaves that room; otherwise it is read into a
// buffer with the room added.

#include <cstddef>
#include <string>
#include <string_view>

#include <simdjson.h>

namespace lab {

class LabText {
 public:
  LabText() = default;
  // A copy of `text` with the room after it.
  explicit LabText(std::string_view text) : m_copy(text.data(), text.size()) {}
  ~LabText() { release(); }
  LabText(const LabText&) = delete;
  LabText& operator=(const LabText&) = delete;

  // Loads a file; false with *error when it cannot be read.
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
