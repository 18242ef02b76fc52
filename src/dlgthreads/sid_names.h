#pragma once
// Names of the SIDs the Files walks meet, looked up once per SID: on the
// server the path lives on, then on the local machine.

#include <string>
#include <unordered_map>

#include "platform/types.h"

namespace dlgthreads {

struct SidName {
  bool found = false;  // false: neither machine knows the SID
  std::string name;
  std::string domain;
  platform::SID_NAME_USE use = platform::SidTypeUnknown;
  // "DOMAIN\\name", the bare name when the domain is empty, or the SID's
  // text when the SID is unknown or its name is empty.
  std::string account;
};

class SidNames {
 public:
  explicit SidNames(std::string server) : m_server(std::move(server)) {}
  const SidName& lookUp(const platform::SID& sid);

 private:
  std::string m_server;
  std::unordered_map<std::string, SidName> m_names;
};

}  // namespace dlgthreads
