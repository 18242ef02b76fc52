#include "dlgthreads/records.h"

namespace dlgthreads {
namespace {

constexpr std::string_view kOne = "1";
constexpr std::string_view kZero = "0";

using UserText = std::string UserRecord::*;
// Word n of a UserRecord; nullptr for the two non-text words 0 and 19.
constexpr std::array<UserText, UserRecord::kWords> kUserTexts = {
    nullptr,
    &UserRecord::name,
    &UserRecord::fullName,
    &UserRecord::logons,
    &UserRecord::lastLogon,
    &UserRecord::acctExpires,
    &UserRecord::disabled,
    &UserRecord::hasPassword,
    &UserRecord::maxStorage,
    &UserRecord::profile,
    &UserRecord::script,
    &UserRecord::pwExpires,
    &UserRecord::lockedOut,
    &UserRecord::pwExpired,
    &UserRecord::cannotChangePw,
    &UserRecord::comment,
    &UserRecord::homeDrive,
    &UserRecord::homeDir,
    &UserRecord::loggedOn,
    nullptr,
    &UserRecord::pwLastSet,
    &UserRecord::rasAllowed,
    &UserRecord::callbackNumber,
    &UserRecord::callbackType,
};

}  // namespace

std::string_view GroupRecord::text(int word) const {
  switch (word) {
    case 1: return name;
    case 2: return comment;
    case 3: return third;
    default: return {};
  }
}

std::string_view UserRecord::text(int word) const {
  if (word == kLoggedOnFlagWord) return loggedOnFlag ? kOne : kZero;
  if (word <= 0 || word >= kWords) return {};
  return this->*kUserTexts[static_cast<std::size_t>(word)];
}

std::string* UserRecord::field(int word) {
  if (word <= 0 || word >= kWords || word == kLoggedOnFlagWord) return nullptr;
  return &(this->*kUserTexts[static_cast<std::size_t>(word)]);
}

std::string_view ServerRecord::text(int word) const {
  if (word >= kFirstFlagWord && word < kFirstFlagWord + kTypeFlags) {
    return flag(word) ? kOne : kZero;
  }
  switch (word) {
    case 1: return name;
    case 2: return comment;
    case 25: return build;
    case 26: return version;
    case 27: return servicePack;
    case 28: return installDate;
    default:
      if (word >= 29 && word < 29 + kExtraEntries) {
        return extra[static_cast<std::size_t>(word - 29)];
      }
      return {};
  }
}

Word ServerRecord::flag(int word) const {
  if (word < kFirstFlagWord || word >= kFirstFlagWord + kTypeFlags) return 0;
  return typeFlags[static_cast<std::size_t>(word - kFirstFlagWord)];
}

}  // namespace dlgthreads
