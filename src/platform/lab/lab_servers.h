#pragma once
// The lab's servers part: the browse list, server and workstation
// information and domain controllers (backend_browse.cpp); server settings,
// sessions, open files and shares (backend_servers.cpp); the domain's trust
// relationships (backend_trusts.cpp).

#include <string>
#include <vector>

#include "platform/lab/lab_part.h"

namespace lab {

class LabServers : public platform::ServersPart, protected LabPart {
 public:
  using LabPart::LabPart;

  // servers, workstations, domain controllers
  DWORD NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                      DWORD* entriesread, DWORD* totalentries, DWORD servertype,
                      std::string_view domain, DWORD* resume) override;
  DWORD NetServerGetInfo(std::string_view server, DWORD level, NetBuffer& buf) override;
  DWORD NetGetDCName(std::string_view server, std::string_view domain,
                     std::string* name) override;
  DWORD NetWkstaGetInfo(std::string_view server, DWORD level, NetBuffer& buf) override;

  // server settings, sessions, open files, shares (backend_servers.cpp)
  DWORD NetServerSetInfo(std::string_view server, DWORD level, const NetInfo& info,
                         DWORD* parm_err) override;
  DWORD NetSessionEnum(std::string_view server, std::string_view client, std::string_view user,
                       DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                       DWORD* totalentries, DWORD* resume) override;
  DWORD NetSessionDel(std::string_view server, std::string_view client,
                      std::string_view user) override;
  DWORD NetFileEnum(std::string_view server, std::string_view basepath, std::string_view user,
                    DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                    DWORD* totalentries, DWORD* resume) override;
  DWORD NetShareEnum(std::string_view server, DWORD level, NetBuffer& buf, DWORD prefmaxlen,
                     DWORD* entriesread, DWORD* totalentries, DWORD* resume) override;
  DWORD NetShareGetInfo(std::string_view server, std::string_view netname, DWORD level,
                        NetBuffer& buf) override;
  DWORD NetShareAdd(std::string_view server, DWORD level, const NetInfo& info,
                    DWORD* parm_err) override;
  DWORD NetShareDel(std::string_view server, std::string_view netname, DWORD reserved) override;
  DWORD NetShareSetInfo(std::string_view server, std::string_view netname, DWORD level,
                        const NetInfo& info, DWORD* parm_err) override;

  // the domain's trust relationships (backend_trusts.cpp)
  DWORD DsEnumerateDomainTrusts(std::string_view server, DWORD flags,
                                std::vector<platform::DS_DOMAIN_TRUSTS>* domains) override;
};

}  // namespace lab
