#pragma once
// The fixture of the worker tests: a fresh in-memory test lab per test,
// served as the platform backend, a recording host, and UTC as local zone.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "dlgthreads/worker_frame.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "../support/lab_fixture.h"
#include "test_host.h"

namespace dlgthreads::testing {

inline std::shared_ptr<lab::Lab> loadTestLab(const std::string& file) {
  return lab::test::loadLabFile(std::string(VELTRANE_TEST_LABS) + "/" + file);
}

class EngineLab : public ::testing::Test {
 protected:
  using Worker = void (*)(std::shared_ptr<WorkerBlock>);

  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    m_lab = loadTestLab("engine-domain.json");
    ASSERT_TRUE(m_lab);
    useBackend(lab::makeLabBackend(m_lab));
  }

  void TearDown() override {
    if (m_host) m_host->forgetFinished();
  }

  // Serves the platform from `backend` (e.g. a forwarding one over the lab).
  void useBackend(std::shared_ptr<platform::Backend> backend) {
    m_backend.serve(std::move(backend));
  }

  // Runs `worker` to its end on this thread and returns its block.
  std::shared_ptr<WorkerBlock> run(Worker worker, WorkKind kind, std::string server,
                                   const std::function<void(WorkerBlock&)>& prepare = {}) {
    if (m_host) m_host->forgetFinished();
    m_host = std::make_shared<TestHost>();
    auto block = makeBlock(kind, m_host, std::move(server));
    if (prepare) prepare(*block);
    ResetWork(kind);
    worker(block);
    return block;
  }

  std::vector<ui::Message> messages() const { return m_host->scripted().shown(); }
  std::vector<std::string> statusTexts() const { return m_host->statusTexts(); }
  std::size_t handOvers() const { return m_host->finished().size(); }

  std::shared_ptr<lab::Lab> m_lab;
  lab::test::ServedBackend m_backend;
  std::shared_ptr<TestHost> m_host;
};

}  // namespace dlgthreads::testing
