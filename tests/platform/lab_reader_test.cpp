// The two lab readers agree: the fast one (simdjson) builds exactly the
// network the checked one (nlohmann-json, whose messages name faults) builds,
// and refuses every lab the checked one refuses, so that no lab loads
// differently depending on which reader ran.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../support/file_text.h"
#include "../support/lab_fixture.h"
#include "platform/lab/lab_json.h"

namespace fs = std::filesystem;

namespace {

using test_support::slurp;

// What each reader makes of `text`: the lab written out again, or empty
// when it refused.
struct Readings {
  std::string fast;
  std::string checked;
};
Readings readBoth(const std::string& text) {
  Readings r;
  lab::LabText padded(text);
  if (auto net = lab::parseLabQuickly(padded)) r.fast = lab::writeLab(*net);
  std::string error;
  if (auto net = lab::parseLab(text, "lab", &error)) r.checked = lab::writeLab(*net);
  return r;
}

TEST(LabReaders, BuildTheSameNetworkFromEveryShippedAndGeneratedLab) {
  std::vector<std::pair<std::string, std::string>> labs;
  for (const auto& e : fs::directory_iterator(VELTRANE_TEST_LABS)) {
    if (e.path().extension() == ".json") labs.emplace_back(e.path().filename().string(), slurp(e.path()));
  }
  labs.emplace_back("default lab", std::string(lab::defaultLabJson()));
  lab::GeneratorOptions options;
  options.users = 9000;  // long enough to be read by several threads
  options.groups = 50;
  options.servers = 8;
  labs.emplace_back("generated", lab::generateLab(options)->toJson());
  ASSERT_GE(labs.size(), 5u);
  for (const auto& [name, text] : labs) {
    SCOPED_TRACE(name);
    const Readings r = readBoth(text);
    ASSERT_FALSE(r.checked.empty());
    EXPECT_EQ(r.fast, r.checked);
  }
}

TEST(LabReaders, TheFastReaderRefusesWhatTheCheckedOneRefusesAndLeavesDoubtsToIt) {
  for (const auto& e : fs::directory_iterator(std::string(VELTRANE_TEST_LABS) + "/refused")) {
    SCOPED_TRACE(e.path().filename().string());
    const Readings r = readBoth(slurp(e.path()));
    EXPECT_TRUE(r.checked.empty());
    EXPECT_TRUE(r.fast.empty());
  }
  const std::string base = lab::generateLab(lab::GeneratorOptions{})->toJson();
  // Spots where the two parsers could read the same text differently.
  const std::vector<std::pair<std::string, std::string>> edits = {
      {"\"nextRid\": ", "\"nextRid\": -0, \"nextRid\": "},           // a repeated key: the last counts
      {"\"passwordLastSet\": 0", "\"passwordLastSet\": 1e3"},        // not a whole number
      {"\"passwordLastSet\": 0", "\"passwordLastSet\": 18446744073709551615"},  // beyond 63 bits
      {"\"numLogons\": ", "\"numLogons\": 4294967296, \"x\": "},     // out of range, unknown field
      {"\"fullName\": \"", "\"fullName\": \"\\u00e9\\ud83d\\ude00"},  // escapes
  };
  for (const auto& [find, replace] : edits) {
    SCOPED_TRACE(replace);
    std::string text = base;
    const auto at = text.find(find);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, find.size(), replace);
    const Readings r = readBoth(text);
    // The fast reader may leave a lab to the checked one, never differ from it.
    if (!r.fast.empty()) {
      EXPECT_EQ(r.fast, r.checked);
    }
    std::string error;
    auto loaded = lab::labFromJson(text, "lab", &error);
    EXPECT_EQ(loaded ? loaded->toJson() : std::string(), r.checked) << error;
  }
}

}  // namespace
