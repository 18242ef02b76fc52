#pragma once
// Account passwords as the lab keeps them: a salted, deliberately slow hash
// (argon2id, in its self-describing text form), never the password itself,
// since lab files are copied and shared. An empty hash stands for a blank
// password, which needs no secret kept, and kNoPasswordMatches for a password
// nobody knows (an account created without one).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lab {

// The cost of one hash or check. Low enough that adding an account stays
// well inside the time a user waits for a dialog to close, high enough that
// guessing through a copied lab file is slow; every hash names its own cost,
// so changing these leaves older hashes readable.
inline constexpr unsigned long long kPasswordHashPasses = 2;
inline constexpr std::size_t kPasswordHashMemory = 4u << 20;  // bytes

// What is kept for a password nobody knows: no hash at all, so no password
// (the blank one included) ever matches it, and making it costs nothing.
inline constexpr std::string_view kNoPasswordMatches = "*";

// The hash of `password`; empty for a blank password. A fresh salt each time,
// so two hashes of one password differ. Nothing when the memory the hash
// needs cannot be had.
std::optional<std::string> hashPassword(std::string_view password);
// Whether `password` is the one `hash` was made from.
bool passwordMatches(std::string_view hash, std::string_view password);
// Whether `text` is a hash this lab can check (or empty, or
// kNoPasswordMatches): argon2 in libsodium's text form, costing at most
// 256 MiB and 16 passes to check.
bool isPasswordHash(std::string_view text);
// Overwrites a password's text before its memory is given back.
void wipePassword(std::string& text);

}  // namespace lab
