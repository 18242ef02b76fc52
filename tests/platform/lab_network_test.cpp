// Network enumeration over the lab: what each level shows, and batches
// measured by the caller's buffer, resumed across calls until 259.

#include <gtest/gtest.h>

#include "../support/lab_fixture.h"
#include "platform/netsize.h"
#include "platform/wnet.h"

using namespace platform;

namespace {

// Every child of `container` by batches of `bufferSize` bytes.
DWORD readAll(const NETRESOURCE* container, std::vector<NETRESOURCE>* out,
              DWORD bufferSize = 163840, DWORD type = RESOURCETYPE_ANY, DWORD usage = 0) {
  out->clear();
  HANDLE h = 0;
  if (DWORD st = WNetOpenEnum(RESOURCE_GLOBALNET, type, usage, container, &h); st != 0) return st;
  std::vector<NETRESOURCE> batch;
  DWORD st = 0;
  for (;;) {
    DWORD count = WNET_ALL_ENTRIES;
    DWORD size = bufferSize;
    st = WNetEnumResource(h, &count, batch, &size);
    if (st != 0) break;
    EXPECT_EQ(count, batch.size());
    out->insert(out->end(), batch.begin(), batch.end());
  }
  EXPECT_EQ(WNetCloseEnum(h), 0u);
  return st == ERROR_NO_MORE_ITEMS ? 0 : st;
}

std::vector<std::string> names(const std::vector<NETRESOURCE>& rs) {
  std::vector<std::string> out;
  for (const auto& r : rs) out.push_back(r.lpRemoteName);
  return out;
}

NETRESOURCE named(std::string remote) {
  NETRESOURCE r;
  r.dwUsage = RESOURCEUSAGE_CONTAINER;
  r.lpRemoteName = std::move(remote);
  r.lpProvider = std::string(kWindowsNetworkProvider);
  return r;
}

TEST(LabNetwork, ShowsProvidersDomainsBrowsedServersAndTheirVisibleShares) {
  lab::test::LabFixture lab("network");
  ASSERT_TRUE(lab) << lab.error();
  std::vector<NETRESOURCE> rs;
  ASSERT_EQ(readAll(nullptr, &rs), 0u);
  EXPECT_EQ(names(rs), (std::vector<std::string>{"Microsoft Windows Network", "NetWare or Compatible Network"}));
  EXPECT_EQ(rs[1].lpProvider, "NetWare or Compatible Network");
  EXPECT_EQ(rs[0].dwDisplayType, RESOURCEDISPLAYTYPE_NETWORK);
  EXPECT_TRUE(rs[0].dwUsage & RESOURCEUSAGE_CONTAINER);

  std::vector<NETRESOURCE> other;
  ASSERT_EQ(readAll(&rs[1], &other), 0u);
  EXPECT_TRUE(other.empty());

  std::vector<NETRESOURCE> domains;
  ASSERT_EQ(readAll(&rs[0], &domains), 0u);
  // Workgroups (HOMEGRP has no controller) show beside the domains.
  EXPECT_EQ(names(domains), (std::vector<std::string>{"BRANCH", "CORP", "HOMEGRP"}));
  EXPECT_EQ(domains[1].dwDisplayType, RESOURCEDISPLAYTYPE_DOMAIN);

  std::vector<NETRESOURCE> servers;
  ASSERT_EQ(readAll(&domains[1], &servers), 0u);
  EXPECT_EQ(names(servers), (std::vector<std::string>{"\\\\CORPDC", "\\\\FILES", "\\\\GONE", "\\\\WKS"}));
  EXPECT_EQ(servers[1].lpComment, "File server");
  EXPECT_EQ(servers[1].dwDisplayType, RESOURCEDISPLAYTYPE_SERVER);

  std::vector<NETRESOURCE> shares;
  ASSERT_EQ(readAll(&servers[1], &shares), 0u);
  // Hidden and IPC shares are not browsed, as on the real network.
  ASSERT_EQ(names(shares), (std::vector<std::string>{"\\\\FILES\\DATA", "\\\\FILES\\LASER"}));
  EXPECT_EQ(shares[0].dwType, RESOURCETYPE_DISK);
  EXPECT_EQ(shares[1].dwType, RESOURCETYPE_PRINT);
  EXPECT_EQ(shares[0].lpComment, "Shared data");
  EXPECT_EQ(shares[0].dwUsage, RESOURCEUSAGE_CONNECTABLE);

  ASSERT_EQ(readAll(&servers[1], &shares, 163840, RESOURCETYPE_PRINT), 0u);
  EXPECT_EQ(names(shares), (std::vector<std::string>{"\\\\FILES\\LASER"}));
  ASSERT_EQ(readAll(&servers[1], &shares, 163840, RESOURCETYPE_ANY, RESOURCEUSAGE_CONTAINER), 0u);
  EXPECT_TRUE(shares.empty());

  HANDLE h = 7;
  EXPECT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, 0, 0, &servers[2], &h), ERROR_BAD_NETPATH) << "unreachable";
  EXPECT_EQ(h, 0u);
  NETRESOURCE share = named("\\\\FILES\\DATA");
  EXPECT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, 0, 0, &share, &h), ERROR_NOT_CONTAINER);
  NETRESOURCE nowhere = named("NOWHERE");
  EXPECT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, 0, 0, &nowhere, &h), ERROR_BAD_NETPATH);
  EXPECT_EQ(WNetOpenEnum(99, 0, 0, nullptr, &h), ERROR_INVALID_PARAMETER);

  // A refusal on the local machine is the whole network's.
  ASSERT_TRUE(lab->refuseOperation("WKS", "WNetOpenEnum", ERROR_NO_NETWORK));
  EXPECT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, 0, 0, nullptr, &h), ERROR_NO_NETWORK);
}

TEST(LabNetwork, BatchesFollowTheBufferAndResumeUntilNoMoreItems) {
  lab::test::LabFixture lab("network");
  ASSERT_TRUE(lab) << lab.error();
  const NETRESOURCE corp = named("CORP");
  std::vector<NETRESOURCE> whole;
  ASSERT_EQ(readAll(&corp, &whole), 0u);
  ASSERT_EQ(whole.size(), 4u);

  HANDLE h = 0;
  ASSERT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &corp, &h), 0u);
  std::vector<NETRESOURCE> batch;
  // Too small for one entry: 234, the size needed, and nothing consumed.
  DWORD count = WNET_ALL_ENTRIES;
  DWORD size = 16;
  EXPECT_EQ(WNetEnumResource(h, &count, batch, &size), ERROR_MORE_DATA);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(batch.empty());
  EXPECT_EQ(size, netEntrySize(whole[0]));
  // Exactly that size: the first entry alone.
  count = WNET_ALL_ENTRIES;
  EXPECT_EQ(WNetEnumResource(h, &count, batch, &size), 0u);
  EXPECT_EQ(names(batch), (std::vector<std::string>{whole[0].lpRemoteName}));
  // A count of 2 in a large buffer: the next two.
  count = 2;
  size = 163840;
  EXPECT_EQ(WNetEnumResource(h, &count, batch, &size), 0u);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(names(batch), (std::vector<std::string>{whole[1].lpRemoteName, whole[2].lpRemoteName}));
  count = WNET_ALL_ENTRIES;
  EXPECT_EQ(WNetEnumResource(h, &count, batch, &size), 0u);
  EXPECT_EQ(names(batch), (std::vector<std::string>{whole[3].lpRemoteName}));
  count = WNET_ALL_ENTRIES;
  EXPECT_EQ(WNetEnumResource(h, &count, batch, &size), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(count, 0u);
  count = 0;
  EXPECT_EQ(WNetEnumResource(h, &count, batch, &size), ERROR_INVALID_PARAMETER);

  // Closing invalidates the handle.
  EXPECT_EQ(WNetCloseEnum(h), 0u);
  count = WNET_ALL_ENTRIES;
  EXPECT_EQ(WNetEnumResource(h, &count, batch, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(WNetCloseEnum(h), ERROR_INVALID_HANDLE);

  // Batches of any size read the same list as one large buffer.
  for (DWORD bytes : {130u, 200u, 400u}) {
    std::vector<NETRESOURCE> paged;
    ASSERT_EQ(readAll(&corp, &paged, bytes), 0u);
    EXPECT_EQ(paged, whole) << bytes;
  }
}

TEST(LabNetwork, ABackendWithoutANetworkHasNone) {
  ScopedBackend none(std::make_shared<Backend>());
  HANDLE h = 5;
  EXPECT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, 0, 0, nullptr, &h), ERROR_NO_NETWORK);
  EXPECT_EQ(h, 0u);
}

}  // namespace
