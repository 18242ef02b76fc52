#include "platform/samba/unguessable_password.h"

#include <algorithm>
#include <array>
#include <random>
#include <string_view>

namespace platform::samba {

std::string unguessablePassword() {
  constexpr std::array<std::string_view, 4> kClasses{
      "ABCDEFGHJKLMNPQRSTUVWXYZ", "abcdefghijkmnopqrstuvwxyz", "23456789", "!#%+-=?@_~"};
  constexpr std::size_t kLength = 40;
  // random_device reads the kernel's generator here, which is what a secret needs.
  std::random_device source;
  auto pick = [&](std::string_view set) {
    return set[std::uniform_int_distribution<std::size_t>(0, set.size() - 1)(source)];
  };
  std::string all;
  for (std::string_view set : kClasses) all += set;
  std::string password;
  for (std::string_view set : kClasses) password += pick(set);
  while (password.size() < kLength) password += pick(all);
  for (std::size_t i = password.size() - 1; i > 0; --i)
    std::swap(password[i],
              password[std::uniform_int_distribution<std::size_t>(0, i)(source)]);
  return password;
}

}  // namespace platform::samba
