// The access tree: the selected server's disk shares and every directory
// below them, each marked with what one user (or local group) may do there.

#include <unordered_set>

#include "dlgthreads/files_paths.h"
#include "dlgthreads/files_walks.h"
#include "dlgthreads/files_worker.h"
#include "dlgthreads/printf_text.h"
#include "dlgthreads/rights_text.h"
#include "platform/files.h"
#include "platform/netapi.h"
#include "platform/security.h"
#include "platform/wnet.h"

namespace dlgthreads {
namespace {

using namespace platform;

constexpr DWORD kDescriptorBuffer = 65556;
constexpr DWORD kResourceBuffer = 163840;
constexpr std::string_view kEveryone = "S-1-1-0";

class AccessTree {
 public:
  AccessTree(const std::shared_ptr<WorkerBlock>& block) : m_block(block) {}

  void run() {
    WorkerBlock& b = *m_block;
    const std::string& server = b.state.selectedServer;
    const AccessAccount account = findAccessAccount(server, b.userName);
    b.userNameKnown = account.known;
    if (!b.userNameKnown) return;
    NetBuffer buffer;
    const bool isUser = !account.localGroup;
    std::vector<std::string> groups;
    if (isUser) {
      DWORD read = 0, total = 0;
      if (NetUserGetGroups(account.userServer, b.userName, 0, buffer, 10000, &read, &total) !=
          NERR_Success) {
        showWorkerMessage(b, "Error enuming user.", "Veltrane Tool");
        return;
      }
      for (const auto& g : buffer.get<GROUP_USERS_INFO_0>()) groups.push_back(g.grui0_name);
    }
    std::string domain = "Unknown domain";
    if (NetUserModalsGet(server, 2, buffer) == NERR_Success)
      if (const auto m = buffer.get<USER_MODALS_INFO_2>(); !m.empty()) domain = m.front().usrmod2_domain_name;
    // The user's own domain names it and its groups (a domain user on a
    // member server belongs to the domain, not to the server).
    std::string userDomain = domain;
    if (isUser && account.userServer != server && NetUserModalsGet(account.userServer, 2, buffer) == NERR_Success)
      if (const auto m = buffer.get<USER_MODALS_INFO_2>(); !m.empty()) userDomain = m.front().usrmod2_domain_name;
    b.accessTreeWalked = true;
    lookUpSids(server, userDomain, isUser, groups);
    line("root");
    line("D\t" + domain);
    line("S\t\t" + server);
    NETRESOURCE container;
    container.dwDisplayType = RESOURCEDISPLAYTYPE_SERVER;
    container.dwUsage = RESOURCEUSAGE_CONTAINER;
    container.lpRemoteName = "\\\\" + trimmedServer(server);
    container.lpProvider = std::string(kWindowsNetworkProvider);
    resourceLevel(container, 2);
    if (m_capped) showWorkerMessage(b, std::string(kAccessTreeFullText), "");
  }

 private:
  static std::string trimmedServer(std::string_view server) {
    while (server.starts_with('\\')) server.remove_prefix(1);
    return std::string(server);
  }

  // The SIDs whose entries name the user: its own, found as DOMAIN\name (a
  // bare name would find the server's own account of that name), its global
  // groups' and the server's local groups it belongs to; for a local group,
  // the group's own.
  void lookUpSids(const std::string& server, const std::string& domain, bool isUser,
                  const std::vector<std::string>& groups) {
    WorkerBlock& b = *m_block;
    const auto sidOf = [&](const std::string& name, SID* sid) {
      std::string referenced;
      SID_NAME_USE use{};
      return LookupAccountName(server, name, sid, &referenced, &use) == ERROR_SUCCESS ||
             LookupAccountName("", name, sid, &referenced, &use) == ERROR_SUCCESS;
    };
    SID own;
    const bool qualified = isUser && domain != "Unknown domain" &&
                           b.userName.find('\\') == std::string::npos;
    if (sidOf(qualified ? domain + "\\" + b.userName : b.userName, &own)) {
      m_sids.insert(own.value);
    } else {
      showWorkerMessage(b, "Could not look up SID", "Message");
    }
    for (const std::string& g : groups) {
      SID sid;
      if (sidOf(domain + "\\" + g, &sid) || sidOf(g, &sid)) m_sids.insert(sid.value);
    }
    if (isUser) {
      NetBuffer buffer;
      DWORD read = 0, total = 0;
      const std::string qualified = domain.empty() || b.userName.find('\\') != std::string::npos
                                        ? b.userName
                                        : domain + "\\" + b.userName;
      if (NetUserGetLocalGroups(server, qualified, 0, LG_INCLUDE_INDIRECT, buffer, 10000, &read,
                                &total) == NERR_Success) {
        for (const auto& g : buffer.get<LOCALGROUP_USERS_INFO_0>()) {
          SID sid;
          if (sidOf(g.lgrui0_name, &sid)) m_sids.insert(sid.value);
        }
      }
    }
    m_sids.insert(std::string(kEveryone));
  }

  bool line(std::string text) {
    if (m_block->accessTree.used() + 1 >= kAccessTreeLines) {
      m_capped = true;
      return false;
    }
    return m_block->accessTree.append(std::move(text));
  }

  // A line: its letter, one tab per depth, then the text.
  static std::string lineText(char letter, int depth, std::string_view text) {
    std::string out(1, letter);
    out.append(static_cast<std::size_t>(depth), '\t');
    out.append(text);
    return out;
  }

  void resourceLevel(const NETRESOURCE& container, int depth) {
    BeginWork(*m_block);
    walkResources(container, depth);
    FinishWork(m_block);
  }

  void walkResources(const NETRESOURCE& container, int depth) {
    HANDLE handle = 0;
    if (WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &container, &handle) != 0) return;
    std::vector<NETRESOURCE> batch;
    for (;;) {
      if (m_block->cancelled() || m_capped) break;
      DWORD count = WNET_ALL_ENTRIES;
      DWORD size = kResourceBuffer;
      batch.clear();
      if (WNetEnumResource(handle, &count, batch, &size) != 0) break;
      for (const NETRESOURCE& r : batch) {
        if (r.lpRemoteName.empty() || r.dwType == RESOURCETYPE_PRINT) continue;
        if (r.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER && (r.dwUsage & RESOURCEUSAGE_CONTAINER)) {
          resourceLevel(r, depth);
          continue;
        }
        if (r.dwType != RESOURCETYPE_DISK) continue;
        if (!line(lineText('d', depth, r.lpRemoteName))) break;
        std::string fileSystem;
        const std::string root = withFinalBackslash(r.lpRemoteName);
        if (GetVolumeInformation(root, nullptr, nullptr, nullptr, nullptr, &fileSystem) == 0 &&
            fileSystem == "CDFS")
          continue;
        m_path = root;
        directoryLevel(depth + 1);
      }
    }
    WNetCloseEnum(handle);
  }

  void directoryLevel(int depth) {
    BeginWork(*m_block);
    walkDirectory(depth);
    FinishWork(m_block);
  }

  void walkDirectory(int depth) {
    if (m_block->cancelled() || m_capped) return;
    m_path = withFinalBackslash(m_path);
    FindHandle find;
    WIN32_FIND_DATA data;
    if (FindFirstFile(m_path + "*.*", find.out(), &data) != ERROR_SUCCESS) return;
    do {
      if (m_block->cancelled() || m_capped) return;
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      if (data.cFileName == "." || data.cFileName == "..") continue;
      const std::size_t keep = m_path.size();
      m_path += data.cFileName;
      std::string rights = "(None";
      bool named = false;
      if (readRights(m_path, &rights, &named)) {
        std::string text = lineText('F', depth, data.cFileName);
        text.append("   ").append(rights).append(")").push_back(named ? 'Y' : 'G');
        if (!line(std::move(text))) return;
        m_path += '\\';
        directoryLevel(depth + 1);
      }
      m_path.resize(keep);
    } while (FindNextFile(find.get(), &data) == ERROR_SUCCESS);
  }

  // The rights text of the directory for the user; false when its security
  // cannot be read.
  bool readRights(const std::string& path, std::string* rights, bool* named) {
    SECURITY_DESCRIPTOR sd;
    DWORD needed = 0;
    const DWORD status = GetFileSecurity(path, DACL_SECURITY_INFORMATION, &sd, kDescriptorBuffer, &needed);
    if (status != ERROR_SUCCESS) {
      showWorkerMessage(*m_block,
                        printfText("Could not get security for: %s\nError code given was: %i\nLength copied = %i",
                                   path.c_str(), static_cast<int>(status), static_cast<int>(needed)),
                        "Security violation?");
      return false;
    }
    BOOL present = 0, defaulted = 0;
    const ACL* dacl = nullptr;
    if (const DWORD e = GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted); e != ERROR_SUCCESS) {
      showWorkerMessage(*m_block, printfText("Error %d:GetSecurityDescriptorDacl\n", static_cast<int>(e)), "Error");
      return true;
    }
    // No access list, or a NULL one, lets everyone do everything.
    if (!present || dacl == nullptr) {
      addRightsLetters(*rights, FILE_ALL_ACCESS);
      *named = true;
      return true;
    }
    ACL_SIZE_INFORMATION info;
    if (const DWORD e = GetAclInformation(*dacl, &info); e != ERROR_SUCCESS) {
      showWorkerMessage(*m_block, printfText("Error %d:GetAclInformation\n", static_cast<int>(e)), "Error");
      return true;
    }
    // Each matching entry adds its own letters, in entry order, each letter
    // once: letters that no single entry grants never appear. A deny entry
    // never grants; what it takes away is shown after the grants, as the
    // rights dump shows it ("(RW) Deny (WD)").
    std::string denied = "(None";
    for (DWORD i = 0; i < info.AceCount; ++i) {
      const ACE* ace = nullptr;
      if (const DWORD e = GetAce(*dacl, i, &ace); e != ERROR_SUCCESS) {
        showWorkerMessage(*m_block, printfText("Error %d: GetAce\n", static_cast<int>(e)), "Error");
        continue;
      }
      if (ace->AceFlags & INHERIT_ONLY_ACE) continue;
      if (!m_sids.contains(ace->Sid.value)) continue;
      *named = true;
      // Read, write and execute are denied by their own bits, not by the
      // bits to read the descriptor and to wait that all three share.
      if (ace->AceType == ACCESS_DENIED_ACE_TYPE)
        addRightsLetters(denied, ace->Mask | READ_CONTROL | SYNCHRONIZE);
      else if (ace->AceType == ACCESS_ALLOWED_ACE_TYPE)
        addRightsLetters(*rights, ace->Mask);
    }
    // The caller closes the text: "(RW" becomes "(RW) Deny (WD" and then
    // "(RW) Deny (WD)".
    if (denied != "(None") rights->append(") Deny ").append(denied);
    return true;
  }

  const std::shared_ptr<WorkerBlock>& m_block;
  std::unordered_set<std::string> m_sids;
  std::string m_path;
  bool m_capped = false;
};

}  // namespace

void accessTree(const std::shared_ptr<WorkerBlock>& block) {
  BeginWork(*block);
  AccessTree tree(block);
  tree.run();
  FinishWork(block);
}

}  // namespace dlgthreads
