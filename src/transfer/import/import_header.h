#pragma once
// What an import file's header makes of it: a user file, a group file or
// neither, and where each known column stands.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace transfer {

enum class ImportKind { None, Users, Groups };

enum class UserColumn {
  UserName, Password, FullName, Description, Profile, Script, Home, Drive, Disabled,
  PwExpires, CPwdNext, NoCPwd, Count
};
enum class GroupColumn { GroupName, Comment, UserName, Count };

struct ImportHeader {
  ImportKind kind = ImportKind::None;
  // Index into a record's cells of each column, by the enum's value; empty
  // for a column the header doesn't name.
  std::vector<std::optional<std::size_t>> columns;
  // The message the check gives, at most one: the unsupported and the
  // repeated titles of a header whose first title names the kind (the
  // first few of each, and how many there are).
  std::vector<std::string> messages;

  std::optional<std::size_t> at(UserColumn c) const { return columns[static_cast<std::size_t>(c)]; }
  std::optional<std::size_t> at(GroupColumn c) const { return columns[static_cast<std::size_t>(c)]; }
};

// Titles are matched exactly (case-sensitive). The first title must be
// "UserName" (user file) or "GroupName" (group file); a title the kind does
// not know, or one given twice, makes the header invalid (kind None).
ImportHeader checkImportHeader(const std::vector<std::string>& titles);

}  // namespace transfer
