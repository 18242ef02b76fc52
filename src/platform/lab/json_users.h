#pragma once
// User accounts in the lab's JSON form.

#include <string>
#include <string_view>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

// A name an account of the lab may have.
bool validAccountName(std::string_view name);

template <class J>
User readUser(const J& j, const std::string& path);
Json writeUser(const User& user);

// A database's user accounts, the array `users` at `path`, into `out`.
template <class J>
void readUsers(const J& users, const std::string& path, StableList<User>& out);

// Logon statistics belong to a machine that keeps them: a misspelt name
// would otherwise hide them from every controller without a word. `sam` is
// the database's JSON at `path`, asked once every machine is read.
template <class J>
void checkLogonMachines(const Network& net, const J& sam, const std::string& path);

}  // namespace lab::json
