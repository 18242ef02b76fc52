#pragma once
// Shared pieces of the export tests: result lists over hand-made records,
// file reading, golden files and a scratch folder.

#include <QDir>
#include <QTableView>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../display/record_builders.h"
#include "../display/recording_host.h"
#include "display/group_table_model.h"
#include "display/user_table_model.h"

namespace transfer_test {

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string goldenPath(const std::string& name) {
  return std::string(VELTRANE_SOURCE_DIR) + "/tests/transfer/golden/" + name;
}

// Group lines whose comment holds a comma.
inline const std::vector<display_test::GroupLine> kGroups = {
    {"Administrators", "Admins", "AAALOCAL_GROUP_CONTAINER"},
    {"Administrators", "Admins", "LAB\\alice"},
    {"Domain Users", "All users, everyone", "AAGROUP_CONTAINER"},
    {"Domain Users", "All users, everyone", "bob"},
};

// Puts a fresh Groups model with every line of `lines` on the host's Groups
// list and returns the model.
inline display::GroupTableModel& showGroups(display_test::RecordingHost& host,
                                            const std::vector<display_test::GroupLine>& lines) {
  QTableView* view = host.listView(display::DisplayType::Groups);
  auto* model = new display::GroupTableModel({}, view);
  model->adopt(display_test::groupHolder(lines), true);
  view->setModel(model);
  return *model;
}

inline display::UserTableModel& showUsers(display_test::RecordingHost& host,
                                          const std::vector<display_test::UserRow>& users) {
  QTableView* view = host.listView(display::DisplayType::Users);
  auto* model = new display::UserTableModel({}, view);
  model->adopt(display_test::userHolder(users));
  view->setModel(model);
  return *model;
}

// The names in a folder, FIFOs included (to see that no temporary file was
// left).
inline QStringList filesIn(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace transfer_test
