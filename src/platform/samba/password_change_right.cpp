#include "platform/samba/password_change_right.h"

#include <algorithm>
#include <array>

#include "platform/samba/directory_descriptor.h"

namespace platform::samba {
namespace {

// The change-password extended right, ab721a53-1e2f-11d0-9819-00aa0040529b.
constexpr Guid kChangePassword = {0x53, 0x1a, 0x72, 0xab, 0x2f, 0x1e, 0xd0, 0x11,
                                  0x98, 0x19, 0x00, 0xaa, 0x00, 0x40, 0x52, 0x9b};

// The two trustees directory consoles deny it to: the account itself
// (SELF, S-1-5-10) and Everyone (S-1-1-0).
constexpr char kSelfBytes[] = {1, 1, 0, 0, 0, 0, 0, 5, 10, 0, 0, 0};
constexpr char kEveryoneBytes[] = {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
constexpr std::string_view kSelf(kSelfBytes, sizeof kSelfBytes);
constexpr std::string_view kEveryone(kEveryoneBytes, sizeof kEveryoneBytes);
constexpr std::array<std::string_view, 2> kTrustees = {kSelf, kEveryone};

// An entry of `type` (allow or deny object entry) for the right, given to
// SELF or Everyone.
bool isRightEntry(std::uint8_t type, std::uint8_t aceType, std::uint32_t mask,
                  const std::optional<Guid>& objectType, std::string_view sid) {
  return aceType == type && (mask & kControlAccess) && objectType == kChangePassword &&
         (sid == kSelf || sid == kEveryone);
}

bool isRightEntry(std::uint8_t type, const DescriptorAce& ace) {
  return ace.opaque.empty() && isRightEntry(type, ace.type, ace.mask, ace.objectType, ace.sid);
}

DescriptorAce rightEntry(std::uint8_t type, std::string_view trustee) {
  DescriptorAce ace;
  ace.type = type;
  ace.mask = kControlAccess;
  ace.objectFlags = kObjectTypePresent;
  ace.objectType = kChangePassword;
  ace.sid = std::string(trustee);
  return ace;
}

}  // namespace

bool deniesPasswordChange(std::string_view descriptor) {
  bool denied = false;
  const bool read = visitDaclEntries(descriptor, [&denied](const AceView& ace) {
    if (ace.known &&
        isRightEntry(kAccessDeniedObjectAce, ace.type, ace.mask, ace.objectType, ace.sid))
      denied = true;
  });
  return read && denied;
}

std::optional<std::string> withPasswordChangeDenied(std::string_view bytes, bool deny) {
  auto descriptor = decodeDescriptor(bytes);
  if (!descriptor || !descriptor->dacl) return std::nullopt;
  std::vector<DescriptorAce>& before = descriptor->dacl->entries;
  // The new order: the deny entries first, then the explicit entries kept,
  // the allow entries put back, and the inherited ones last (where the
  // controller puts them when it works them out again from the parent).
  std::vector<DescriptorAce> after;
  after.reserve(before.size() + kTrustees.size());
  if (deny) {
    for (std::string_view trustee : kTrustees)
      after.push_back(rightEntry(kAccessDeniedObjectAce, trustee));
  }
  std::array<bool, kTrustees.size()> allowed = {};
  for (DescriptorAce& ace : before) {
    if (ace.flags & kInheritedAce) continue;
    if (isRightEntry(kAccessDeniedObjectAce, ace)) continue;  // put first above, or cleared
    if (isRightEntry(kAccessAllowedObjectAce, ace)) {
      if (deny) continue;
      for (std::size_t t = 0; t < kTrustees.size(); ++t) {
        if (ace.flags == 0 && ace.sid == kTrustees[t]) allowed[t] = true;
      }
    }
    after.push_back(std::move(ace));
  }
  if (!deny) {
    for (std::size_t t = 0; t < kTrustees.size(); ++t) {
      if (!allowed[t]) after.push_back(rightEntry(kAccessAllowedObjectAce, kTrustees[t]));
    }
  }
  for (DescriptorAce& ace : before) {
    if (ace.flags & kInheritedAce) after.push_back(std::move(ace));
  }
  before = std::move(after);
  descriptor->control |= kDaclPresent;
  return encodeDescriptor(*descriptor);
}

}  // namespace platform::samba
