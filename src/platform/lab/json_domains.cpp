#include "platform/lab/json_domains.h"

#include "platform/lab/json_accounts.h"
#include "platform/lab/json_fields.h"

namespace lab::json {

using namespace platform;

template <class J>
Domain readDomain(const J& j, const std::string& where, const Network& net) {
  expectObject(j, where, {"name", "sid", "pdc", "bdcs", "trusts", "nextRid", "policy",
                          "users", "groups", "localGroups", "deletedAccounts"});
  Domain d;
  d.name = text(j, "name", where, true);
  if (net.findDomain(d.name)) fail(at(where, "name"), "duplicate domain name " + quotedText(d.name));
  d.pdc = text(j, "pdc", where);
  d.bdcs = texts(j, "bdcs", where);
  d.trusts = texts(j, "trusts", where);
  d.sam.name = d.name;
  if (!field(j, "sid")) fail(at(where, "sid"), "required field is missing");
  return d;
}

void checkDomainLinks(const Network& net) {
  for (std::size_t k = 0; k < net.domains.size(); ++k) {
    const auto where = at("/domains", k);
    const Domain& d = net.domains[k];
    auto checkDc = [&](const std::string& name, const std::string& w) {
      const Machine* m = net.findMachine(name);
      if (!m) fail(w, "no machine " + quotedText(name) + " in /machines");
      if (upper(m->domain) != upper(d.name)) fail(w, "machine " + quotedText(name) + " is not in domain " + d.name);
    };
    if (!d.pdc.empty()) checkDc(d.pdc, at(where, "pdc"));
    for (std::size_t b = 0; b < d.bdcs.size(); ++b) checkDc(d.bdcs[b], at(at(where, "bdcs"), b));
    for (std::size_t t = 0; t < d.trusts.size(); ++t) {
      if (!net.findDomain(d.trusts[t])) {
        fail(at(at(where, "trusts"), t), "no domain " + quotedText(d.trusts[t]) + " in /domains");
      }
    }
  }
}

Json writeDomain(const Network& net, const Domain& d) {
  Json j;
  j["name"] = d.name;
  j["pdc"] = d.pdc;
  j["bdcs"] = d.bdcs;
  j["trusts"] = d.trusts;
  return writeSam(net, d.sam, std::move(j));
}

template Domain readDomain(const Json&, const std::string&, const Network&);
template Domain readDomain(const SimdValue&, const std::string&, const Network&);

}  // namespace lab::json
