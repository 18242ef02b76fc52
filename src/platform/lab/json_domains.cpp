#include "platform/lab/json_domains.h"

#include "platform/dsgetdc.h"
#include "platform/lab/json_accounts.h"
#include "platform/lab/json_fields.h"

namespace lab::json {

using namespace platform;

namespace {

constexpr NamedBit kTrustDirections[] = {
    {"TRUST_DIRECTION_INBOUND", TRUST_DIRECTION_INBOUND},
    {"TRUST_DIRECTION_OUTBOUND", TRUST_DIRECTION_OUTBOUND},
    {"TRUST_DIRECTION_BIDIRECTIONAL", TRUST_DIRECTION_BIDIRECTIONAL},
};
constexpr NamedBit kTrustTypes[] = {
    {"TRUST_TYPE_DOWNLEVEL", TRUST_TYPE_DOWNLEVEL},
    {"TRUST_TYPE_UPLEVEL", TRUST_TYPE_UPLEVEL},
    {"TRUST_TYPE_MIT", TRUST_TYPE_MIT},
    {"TRUST_TYPE_DCE", TRUST_TYPE_DCE},
};
constexpr NamedBit kTrustAttributes[] = {
    {"TRUST_ATTRIBUTE_NON_TRANSITIVE", TRUST_ATTRIBUTE_NON_TRANSITIVE},
    {"TRUST_ATTRIBUTE_UPLEVEL_ONLY", TRUST_ATTRIBUTE_UPLEVEL_ONLY},
    {"TRUST_ATTRIBUTE_QUARANTINED_DOMAIN", TRUST_ATTRIBUTE_QUARANTINED_DOMAIN},
    {"TRUST_ATTRIBUTE_FOREST_TRANSITIVE", TRUST_ATTRIBUTE_FOREST_TRANSITIVE},
    {"TRUST_ATTRIBUTE_CROSS_ORGANIZATION", TRUST_ATTRIBUTE_CROSS_ORGANIZATION},
    {"TRUST_ATTRIBUTE_WITHIN_FOREST", TRUST_ATTRIBUTE_WITHIN_FOREST},
    {"TRUST_ATTRIBUTE_TREAT_AS_EXTERNAL", TRUST_ATTRIBUTE_TREAT_AS_EXTERNAL},
};

// One of `names`, written as its name or as its number.
template <class J, std::size_t N>
DWORD oneOf(const J& o, std::string_view key, const std::string& path, DWORD fallback,
            const NamedBit (&names)[N]) {
  const auto j = field(o, key);
  if (!j) return fallback;
  if (j->is_string()) {
    const auto name = j->template get<std::string>();
    const auto it = std::find_if(std::begin(names), std::end(names),
                                 [&](const NamedBit& b) { return b.name == name; });
    if (it == std::end(names)) fail(at(path, key), "unknown value " + quotedText(name));
    return it->bit;
  }
  const DWORD value = numberAt(*j, [&] { return at(path, key); });
  const auto it = std::find_if(std::begin(names), std::end(names),
                               [&](const NamedBit& b) { return b.bit == value; });
  if (it == std::end(names)) fail(at(path, key), "unknown value " + std::to_string(value));
  return value;
}

template <std::size_t N>
Json nameOf(DWORD value, const NamedBit (&names)[N]) {
  for (const NamedBit& b : names)
    if (b.bit == value) return b.name;
  return value;
}

template <class J>
OtherTrust readOtherTrust(const J& j, const std::string& where) {
  expectObject(j, where, {"name", "dnsName", "sid", "direction", "type", "attributes"});
  OtherTrust t;
  t.name = text(j, "name", where, true);
  if (t.name.empty()) fail(at(where, "name"), "a trust names its domain");
  t.dnsName = text(j, "dnsName", where);
  t.sid.value = text(j, "sid", where);
  if (!t.sid.empty() && !validSid(t.sid.value))
    fail(at(where, "sid"), "expected a SID such as \"S-1-5-21-1-2-3\"");
  if (!field(j, "direction")) fail(at(where, "direction"), "required field is missing");
  t.direction = oneOf(j, "direction", where, 0, kTrustDirections);
  t.type = oneOf(j, "type", where, TRUST_TYPE_DOWNLEVEL, kTrustTypes);
  t.attributes = bits(j, "attributes", where, 0, kTrustAttributes);
  return t;
}

Json writeOtherTrust(const OtherTrust& t) {
  Json j;
  j["name"] = t.name;
  if (!t.dnsName.empty()) j["dnsName"] = t.dnsName;
  if (!t.sid.empty()) j["sid"] = t.sid.value;
  j["direction"] = nameOf(t.direction, kTrustDirections);
  j["type"] = nameOf(t.type, kTrustTypes);
  if (t.attributes != 0) j["attributes"] = bitNames(t.attributes, kTrustAttributes);
  return j;
}

}  // namespace

template <class J>
Domain readDomain(const J& j, const std::string& where, const Network& net) {
  expectObject(j, where, {"name", "sid", "pdc", "bdcs", "trusts", "otherTrusts", "nextRid",
                          "policy", "users", "groups", "localGroups", "deletedAccounts"});
  Domain d;
  d.name = text(j, "name", where, true);
  if (net.findDomain(d.name)) fail(at(where, "name"), "duplicate domain name " + quotedText(d.name));
  d.pdc = text(j, "pdc", where);
  d.bdcs = texts(j, "bdcs", where);
  d.trusts = texts(j, "trusts", where);
  const auto& others = array(j, "otherTrusts", where);
  for (std::size_t t = 0; t < others.size(); ++t)
    d.otherTrusts.push_back(readOtherTrust(others[t], at(at(where, "otherTrusts"), t)));
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
    // A domain of the lab is trusted through `trusts`, where it also lends
    // its accounts; the same name twice would be two answers for one domain.
    for (std::size_t t = 0; t < d.otherTrusts.size(); ++t) {
      const std::string& name = d.otherTrusts[t].name;
      const auto place = at(at(at(where, "otherTrusts"), t), "name");
      if (net.findDomain(name)) fail(place, "domain " + quotedText(name) + " is in /domains: trust it through \"trusts\"");
      for (std::size_t u = 0; u < t; ++u)
        if (upper(d.otherTrusts[u].name) == upper(name)) fail(place, "duplicate trust " + quotedText(name));
    }
  }
}

Json writeDomain(const Network& net, const Domain& d) {
  Json j;
  j["name"] = d.name;
  j["pdc"] = d.pdc;
  j["bdcs"] = d.bdcs;
  j["trusts"] = d.trusts;
  if (!d.otherTrusts.empty()) {
    Json others = Json::array();
    for (const OtherTrust& t : d.otherTrusts) others.push_back(writeOtherTrust(t));
    j["otherTrusts"] = std::move(others);
  }
  return writeSam(net, d.sam, std::move(j));
}

template Domain readDomain(const Json&, const std::string&, const Network&);
template Domain readDomain(const SimdValue&, const std::string&, const Network&);

}  // namespace lab::json
