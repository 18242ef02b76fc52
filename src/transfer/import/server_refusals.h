#pragma once
// What an NT account database refuses of an account or group the import
// sends it, said before it is asked: a dry run writes nothing, so it learns
// these only from here. The server judges again when the import writes; the
// rules are those every NT server applies (the lab applies the same), so
// what is said here is what the server then answers. What only the server
// knows (the passwords its history remembers, the rights of the account the
// program acts as) is left to it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/netapi.h"

namespace transfer {

inline constexpr std::size_t kMaxUserNameChars = 20;     // LM20_UNLEN
inline constexpr std::size_t kMaxGroupNameChars = 256;   // GNLEN
inline constexpr std::size_t kMaxPasswordChars = 256;    // PWLEN
inline constexpr std::size_t kMaxAccountTextChars = 32767;

// Why `name` cannot name an account: empty, longer than `maxChars` UTF-16
// units, holding one of " / \ [ ] : ; | = , + * ? < >, or only dots and
// blanks. Nothing when it can.
std::optional<std::string> badAccountName(std::string_view name, std::size_t maxChars);

// Why the server would refuse to add `account` or to write it over
// `before`: its name (a new account only), a text or password too long, or
// a password shorter than `minPasswordChars`. Nothing when it would not.
std::optional<std::string> refusedUser(const platform::USER_INFO_3* before,
                                       const platform::USER_INFO_3& account,
                                       std::size_t minPasswordChars);

// Why the server would refuse a group's comment.
std::optional<std::string> refusedComment(std::string_view comment);

}  // namespace transfer
