#include "transfer/import/server_refusals.h"

#include "platform/netsize.h"

namespace transfer {

namespace {

std::string tooLong(std::string_view what, std::size_t chars) {
  return std::string(what) + " is longer than " + std::to_string(chars) + " characters";
}

}  // namespace

std::optional<std::string> badAccountName(std::string_view name, std::size_t maxChars) {
  if (name.empty()) return "the name is empty";
  if (platform::utf16Units(name) > maxChars) return tooLong("the name", maxChars);
  if (name.find_first_of("\"/\\[]:;|=,+*?<>") != std::string_view::npos)
    return "the name holds one of \" / \\ [ ] : ; | = , + * ? < >";
  if (name.find_first_not_of(". ") == std::string_view::npos)
    return "the name is only dots and blanks";
  return std::nullopt;
}

std::optional<std::string> refusedUser(const platform::USER_INFO_3* before,
                                       const platform::USER_INFO_3& account,
                                       std::size_t minPasswordChars) {
  if (!before) {
    if (auto bad = badAccountName(account.usri3_name, kMaxUserNameChars)) return bad;
  }
  struct Text {
    std::string platform::USER_INFO_3::*field;
    std::string_view words;
  };
  static constexpr Text kTexts[] = {
      {&platform::USER_INFO_3::usri3_full_name, "the full name"},
      {&platform::USER_INFO_3::usri3_comment, "the description"},
      {&platform::USER_INFO_3::usri3_profile, "the profile"},
      {&platform::USER_INFO_3::usri3_script_path, "the logon script"},
      {&platform::USER_INFO_3::usri3_home_dir, "the home directory"},
      {&platform::USER_INFO_3::usri3_home_dir_drive, "the home drive"},
  };
  // A text the account holds already is not judged again.
  for (const Text& t : kTexts) {
    const std::string& now = account.*t.field;
    if ((!before || now != before->*t.field) && platform::utf16Units(now) > kMaxAccountTextChars)
      return tooLong(t.words, kMaxAccountTextChars);
  }
  // An empty password in a write leaves the account's own; a password
  // nobody knows meets every policy.
  const std::string& password = account.usri3_password;
  const bool setsPassword = before ? !password.empty() : password != platform::kUnknownPassword;
  if (setsPassword) {
    const std::size_t chars = platform::utf16Units(password);
    if (chars > kMaxPasswordChars) return tooLong("the password", kMaxPasswordChars);
    if (chars < minPasswordChars)
      return "the password is shorter than the " + std::to_string(minPasswordChars) +
             " characters the domain's policy asks for";
  }
  return std::nullopt;
}

std::optional<std::string> refusedComment(std::string_view comment) {
  if (platform::utf16Units(comment) > kMaxAccountTextChars)
    return tooLong("the comment", kMaxAccountTextChars);
  return std::nullopt;
}

}  // namespace transfer
