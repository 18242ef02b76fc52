#pragma once
// The window on the Groups display of the test lab, browsed once, with event
// logging on: what the group dialog tests start from.

#include <QTableView>

#include <string>

#include "../app/app_test_support.h"
#include "session/display_traits.h"
#include "window/command_ids.h"

namespace groupstest {

class GroupsWindowTest : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(makeWindow());
    m_window->settings().e_logging_onoff = 1;
    m_window->selectTab(display::traitsOf(display::DisplayType::Groups).tab);
    m_view = qobject_cast<QTableView*>(m_window->resultControl(window::kCtlGroupsList));
    ASSERT_NE(m_view, nullptr);
    browse();
  }
  void browse() {
    m_window->command(window::kIdBrowse);
    waitForList();
  }
  void waitForList() {
    ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  }

  QTableView* m_view = nullptr;
};

}  // namespace groupstest
