#pragma once
// Test support: a lab from tests/labs/<name>.json, served to the platform
// API for the life of one test.
//
//   TEST(Users, Something) {
//     LabFixture lab("small");   // tests/labs/small.json, memory only
//     ASSERT_TRUE(lab) << lab.error();
//     lab->logOn("LAB\\jdoe");
//     ... platform::NetUserEnum(...) ...
//   }
//
// Fixtures that keep their lab in a member of their own serve it with a
// ServedBackend, and may swap in a backend that forwards to the lab:
//
//   m_lab = loadTestLab("servers-domain");   // or labFromText(json, "origin")
//   ASSERT_TRUE(m_lab);
//   m_backend.serveLab(m_lab);
//   ...
//   m_backend.serve(lab::makeLabBackend(m_lab, std::make_shared<Refusing>(m_lab)));

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/backend.h"
#include "platform/lab/lab.h"

#ifndef VELTRANE_TEST_LABS
#error "VELTRANE_TEST_LABS must name the folder of the test labs"
#endif

namespace lab::test {

inline std::string testLabPath(std::string_view name) {
  return std::string(VELTRANE_TEST_LABS) + "/" + std::string(name) + ".json";
}

// The lab of a JSON text, in memory; a text that does not load fails the
// test (with the loader's message) and gives null.
inline std::shared_ptr<Lab> labFromText(std::string_view text, std::string_view origin) {
  std::string error;
  auto made = labFromJson(std::string(text), std::string(origin), &error);
  EXPECT_TRUE(made) << origin << ": " << error;
  return made;
}

// The lab of a JSON file, in memory (changes never reach the file); one
// that cannot be read or loaded fails the test and gives null.
inline std::shared_ptr<Lab> loadLabFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path << ": cannot open";
  if (!in) return nullptr;
  std::ostringstream text;
  text << in.rdbuf();
  return labFromText(text.str(), path);
}

// The lab tests/labs/<name>.json, in memory.
inline std::shared_ptr<Lab> loadTestLab(std::string_view name) {
  return loadLabFile(testLabPath(name));
}

// The platform's backend for one test: what it serves stays installed
// until it serves another or goes; the one before is dropped first, so two
// labs are never installed at once.
class ServedBackend {
 public:
  void serve(std::shared_ptr<platform::Backend> backend) {
    m_scope.reset();
    m_scope = std::make_unique<platform::ScopedBackend>(std::move(backend));
  }
  void serveLab(const std::shared_ptr<Lab>& lab) { serve(makeLabBackend(lab)); }
  // Nothing served by this any more: the backend before it is back.
  void reset() { m_scope.reset(); }

 private:
  std::unique_ptr<platform::ScopedBackend> m_scope;
};

// Loads the lab into memory (changes never reach the file) and installs it.
class LabFixture {
 public:
  explicit LabFixture(std::string_view name) {
    const auto path = testLabPath(name);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      m_error = path + ": cannot open";
    } else {
      std::ostringstream text;
      text << in.rdbuf();
      m_lab = labFromJson(text.str(), path, &m_error);
    }
    if (m_lab) m_backend.serveLab(m_lab);
  }
  // Serves a lab made elsewhere (e.g. by generateLab).
  explicit LabFixture(std::shared_ptr<Lab> lab) : m_lab(std::move(lab)) {
    if (m_lab) m_backend.serveLab(m_lab);
  }

  explicit operator bool() const { return m_lab != nullptr; }
  const std::string& error() const { return m_error; }
  Lab* operator->() const { return m_lab.get(); }
  Lab& lab() const { return *m_lab; }
  const std::shared_ptr<Lab>& shared() const { return m_lab; }

 private:
  std::shared_ptr<Lab> m_lab;
  std::string m_error;
  ServedBackend m_backend;
};

// A new account at level 1, as NetUserAdd takes it.
inline platform::USER_INFO_1 newUser(std::string name, std::string password,
                                     platform::DWORD flags = platform::UF_SCRIPT) {
  platform::USER_INFO_1 u;
  u.usri1_name = std::move(name);
  u.usri1_password = std::move(password);
  u.usri1_flags = flags;
  return u;
}

// The user `name` as the lab's file form holds it ("passwordHash",
// "passwordHistory", "flags", ...); null when no domain has it.
inline nlohmann::json storedUser(const Lab& lab, std::string_view name) {
  const auto root = nlohmann::json::parse(lab.toJson());
  for (const auto& domain : root.value("domains", nlohmann::json::array())) {
    for (const auto& user : domain.value("users", nlohmann::json::array())) {
      if (user.value("name", "") == name) return user;
    }
  }
  return nullptr;
}

}  // namespace lab::test
