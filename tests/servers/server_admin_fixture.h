#pragma once
// The window over tests/labs/server-admin.json (a file server with sessions,
// open files and shares), served through a lab backend that a test may bend:
// a server that refuses to end every session in one call, or that answers
// sessions one per page.

#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>

#include <fstream>
#include <sstream>
#include <string>

#include "../app/app_test_support.h"
#include "platform/lab/lab_backend.h"

namespace serverstest {

class BendingBackend final : public lab::LabServers {
 public:
  using DWORD = platform::DWORD;
  using NetBuffer = platform::NetBuffer;
  using LabServers::LabServers;

  bool refuseDisconnectAll = false;
  bool onePerPage = false;
  int sessionPages = 0;

  DWORD NetSessionDel(std::string_view server, std::string_view client,
                      std::string_view user) override {
    if (refuseDisconnectAll && client.empty() && user.empty()) return platform::ERROR_INVALID_PARAMETER;
    return LabServers::NetSessionDel(server, client, user);
  }
  DWORD NetSessionEnum(std::string_view server, std::string_view client, std::string_view user,
                       DWORD level, NetBuffer& buf, DWORD prefmaxlen, DWORD* read, DWORD* total,
                       DWORD* resume) override {
    ++sessionPages;
    return LabServers::NetSessionEnum(server, client, user, level, buf, onePerPage ? 1 : prefmaxlen,
                                      read, total, resume);
  }
};

class ServerAdminTest : public apptest::WindowTest {
 protected:
  void SetUp() override {
    apptest::testApp();
    m_lab = lab::test::loadTestLab("server-admin");
    ASSERT_TRUE(m_lab);
    m_bent = std::make_shared<BendingBackend>(m_lab);
    m_backend.serve(lab::makeLabBackend(m_lab, m_bent));
  }

  platform::SERVER_INFO_102 serverInfo(std::string_view server) {
    platform::NetBuffer buf;
    EXPECT_EQ(platform::NetServerGetInfo(server, 102, buf), platform::NERR_Success);
    return buf.one<platform::SERVER_INFO_102>() ? *buf.one<platform::SERVER_INFO_102>()
                                                 : platform::SERVER_INFO_102{};
  }
  static std::vector<std::string> column(const QTreeWidget* list, int c) {
    std::vector<std::string> out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      out.push_back(list->topLevelItem(i)->text(c).toStdString());
    return out;
  }

  std::shared_ptr<BendingBackend> m_bent;
};

}  // namespace serverstest
