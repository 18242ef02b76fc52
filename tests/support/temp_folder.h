#pragma once
// Test support: a folder of its own for one test, removed with everything in
// it when the test ends.
//
//   TempFolder folder;
//   const std::string lab = folder.write("lab.json", text);

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace test_support {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> next{0};
    m_path = std::filesystem::temp_directory_path() /
             ("veltrane-test-" + std::to_string(::getpid()) + "-" + std::to_string(next++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::string operator/(std::string_view name) const { return (m_path / name).string(); }

  // Writes `content` to the file `name` in the folder; returns its path.
  std::string write(std::string_view name, std::string_view content) const {
    const std::string file = *this / name;
    std::ofstream(file, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
    return file;
  }

 private:
  std::filesystem::path m_path;
};

}  // namespace test_support
