#pragma once
// Domains in the lab's JSON form. A domain's accounts are its database
// (json_accounts.h), read once every domain is known.

#include <string>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

// A domain's own fields; `net` holds the domains read before it.
template <class J>
Domain readDomain(const J& j, const std::string& path, const Network& net);
// Every domain's controllers are its machines and its trusts name domains
// of the lab, asked once every machine is read.
void checkDomainLinks(const Network& net);
Json writeDomain(const Network& net, const Domain& domain);

}  // namespace lab::json
