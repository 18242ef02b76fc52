#pragma once
// Registry keys and values in the lab's JSON form: a machine's hives, the
// users' own hives, and a key as the journal records it.

#include <map>
#include <string>
#include <string_view>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

// A hive a machine's registry may hold keys in.
bool knownHive(std::string_view name);

template <class J>
RegValue readValue(const J& j, const std::string& path);
Json writeValue(const RegValue& value);

// A key's values, each name once; `path` is the place of the array.
template <class J>
void readValues(const J& values, const std::string& path, RegKeyData& key);

// A list of keys: into `hives` by their "hive" field when `withHive`, else
// into `hive`.
template <class J>
void readKeys(const J& keys, const std::string& path, Hive& hive, bool withHive,
              std::map<std::string, Hive>* hives);
// `hiveName` null leaves the keys without a "hive" field.
Json writeKeys(const Hive& hive, const char* hiveName);

// "userRegistries": every account's own hive, by account name.
template <class J>
void readUserRegistries(const J& root, Network& net);
Json writeUserRegistries(const Network& net);

}  // namespace lab::json
