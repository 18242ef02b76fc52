#include "platform/lab/password_hash.h"

#include <charconv>
#include <cstdint>

#include <sodium.h>

namespace lab {

namespace {

constexpr std::uint64_t kMaxCheckedMemoryKib = 256 * 1024;
constexpr std::uint64_t kMaxCheckedPasses = 16;

bool sodiumReady() {
  // sodium_init may be called from several threads and more than once.
  static const bool ready = sodium_init() >= 0;
  return ready;
}

// Checking a password costs what its hash names: a lab file from elsewhere
// must not make a password change take minutes or gigabytes.
bool affordable(std::string_view hash) {
  auto number = [&](std::string_view key, std::uint64_t* value) {
    const auto at = hash.find(key);
    if (at == std::string_view::npos) return false;
    const char* first = hash.data() + at + key.size();
    return std::from_chars(first, hash.data() + hash.size(), *value).ec == std::errc();
  };
  std::uint64_t kib = 0, passes = 0;
  return number("$m=", &kib) && number(",t=", &passes) && kib <= kMaxCheckedMemoryKib &&
         passes <= kMaxCheckedPasses;
}

}  // namespace

std::optional<std::string> hashPassword(std::string_view password) {
  if (password.empty()) return std::string();
  if (!sodiumReady()) return std::nullopt;
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str_alg(out, password.data(), password.size(), kPasswordHashPasses,
                            kPasswordHashMemory, crypto_pwhash_ALG_ARGON2ID13) != 0) {
    return std::nullopt;
  }
  return std::string(out);
}

bool passwordMatches(std::string_view hash, std::string_view password) {
  if (hash.empty()) return password.empty();
  if (hash == kNoPasswordMatches) return false;
  if (!isPasswordHash(hash) || !sodiumReady()) return false;
  const std::string terminated(hash);
  return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

bool isPasswordHash(std::string_view text) {
  if (text.empty() || text == kNoPasswordMatches) return true;
  if (text.size() >= crypto_pwhash_STRBYTES) return false;
  if (text.find('\0') != std::string_view::npos || !sodiumReady()) return false;
  if (!affordable(text)) return false;
  // The library reads the whole text (algorithm, cost, salt, hash) to say
  // whether a hash of today's cost would differ; -1 means it is no hash.
  const std::string terminated(text);
  return crypto_pwhash_str_needs_rehash(terminated.c_str(), kPasswordHashPasses,
                                        kPasswordHashMemory) != -1;
}

void wipePassword(std::string& text) {
  if (!text.empty()) sodium_memzero(text.data(), text.size());
}

}  // namespace lab
