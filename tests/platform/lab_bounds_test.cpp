// Hostile lab files: text echoed in a message is escaped and cut, and a path
// that is no regular lab file, or too large a one, is refused before it is
// read.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "../support/lab_fixture.h"
#include "../support/temp_folder.h"
#include "platform/atomic_file.h"
#include "platform/lab/lab_text.h"
#include "platform/message_text.h"

namespace {

using platform::messageText;
using test_support::TempFolder;

bool holdsRawControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
}

TEST(MessageText, ControlsAreEscapedUtf8KeptAndLongTextCut) {
  using namespace std::string_literals;
  EXPECT_EQ(messageText("a\x1b[2Jb\a\0c\n\t\x7f"s), "a\\x1b[2Jb\\a\\0c\\n\\t\\x7f");
  // Valid UTF-8 stays; a byte that is not UTF-8, an overlong form and a C1
  // control (which some terminals obey) are escaped.
  EXPECT_EQ(messageText("Jos\xC3\xA9 \xE2\x82\xAC \xFF \xC0\xAF \xC2\x9B"),
            "Jos\xC3\xA9 \xE2\x82\xAC \\xff \\xc0\\xaf \\u009b");

  // Cut after 200 shown characters, saying how much was left out; a
  // character or an escape is never cut in two.
  const std::string cut = messageText(std::string(1000, 'x'));
  EXPECT_EQ(cut, std::string(200, 'x') + "\xE2\x80\xA6 (800 more bytes)");
  const std::string wide = messageText(std::string(199, 'x') + "\xE2\x82\xAC\xE2\x82\xAC");
  EXPECT_EQ(wide, std::string(199, 'x') + "\xE2\x82\xAC\xE2\x80\xA6 (3 more bytes)");
  const std::string escapes = messageText(std::string(198, 'x') + "\x1b\x1b");
  EXPECT_EQ(escapes, std::string(198, 'x') + "\xE2\x80\xA6 (2 more bytes)");
  EXPECT_EQ(platform::quotedText("a\"b"), "\"a\"b\"");
}

// A user name of 50 MB beginning with ESC, BEL and NUL: once as a valid JSON
// string (the loader's own fault), once ending in a raw ESC (the JSON
// reader's fault, whose text echoes the whole string it read).
TEST(LabBounds, AHugeHostileNameGivesAShortEscapedMessage) {
  TempFolder folder;
  const std::string hostile =
      std::string("\x1b]0;owned\a\x1b[2J\0", 15) + std::string(50 << 20, 'A') + "\x1b";
  std::ifstream in(lab::test::testLabPath("platform-small"));
  auto json = nlohmann::ordered_json::parse(in);
  json["domains"][0]["users"][0]["name"] = hostile;
  const std::string valid = folder.write("valid.json", json.dump());
  std::string raw = json.dump();
  const std::size_t at = raw.find("A\\u001b\"");
  ASSERT_NE(at, std::string::npos);
  raw[at + 1] = '\x1b';
  raw.erase(at + 2, 5);
  const std::string malformed = folder.write("raw.json", raw);

  for (const std::string& path : {valid, malformed}) {
    std::string error;
    EXPECT_FALSE(lab::loadLabFile(path, &error));
    // Shown through the helper itself, should the test fail.
    const std::string shown = messageText(error, 2000);
    EXPECT_LT(error.size(), 1024u) << shown;
    EXPECT_FALSE(holdsRawControl(error)) << shown;
    EXPECT_EQ(error.rfind(path, 0), 0u) << shown;
  }
  std::string error;
  lab::loadLabFile(valid, &error);
  EXPECT_NE(error.find("/domains/0/users/0/name: invalid account name \"\\x1b]0;owned\\a\\x1b[2J\\0AAA"),
            std::string::npos)
      << messageText(error, 2000);
  EXPECT_NE(error.find(" more bytes)\""), std::string::npos) << messageText(error, 2000);
}

// A pipe would keep the loader waiting for a writer, /dev/zero would fill
// memory, a directory cannot be read: each is refused at once, with nothing
// (no lock file) left beside it. So is a file past the size limit, without
// reading it (a sparse file: no disk used).
TEST(LabBounds, PathsThatAreNoRegularLabFileAreRefusedBeforeReading) {
  TempFolder folder;
  const std::string fifo = folder / "pipe.json";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string huge = folder / "huge.json";
  std::filesystem::resize_file(folder.write("huge.json", "{"), lab::kMaxLabFileBytes + 1);

  struct Case {
    std::string path;
    std::string says;
  };
  for (const Case& c : {Case{fifo, "not a regular file (a pipe)"}, Case{"/dev/zero", "not a regular file (a device)"},
                        Case{folder.path().string(), "not a regular file (a directory)"},
                        Case{huge, "1073741825 bytes, more than the 1073741824"}}) {
    std::string error;
    EXPECT_FALSE(lab::loadLabFile(c.path, &error)) << c.path;
    EXPECT_EQ(error, c.path + ": " + c.says + (c.path == huge ? " this file may hold" : ""));
    std::string text;
    EXPECT_FALSE(platform::readWholeFile(c.path, &text, &error)) << c.path;
  }
  EXPECT_FALSE(std::filesystem::exists("/dev/zero.lock"));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 2u) << "no lock file beside the pipe or the huge file";
}

}  // namespace
