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
#include "../display/content_model.h"

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

// Puts a fresh Groups list with every line of `lines` on the host's Groups
// view and returns what it shows.
inline display_test::ContentModel<session::GroupsContent> showGroups(
    display_test::RecordingHost& host, const std::vector<display_test::GroupLine>& lines) {
  QTableView* view = host.listView(display::DisplayType::Groups);
  display_test::ContentModel<session::GroupsContent> shown({}, view);
  shown.content->adoptRecords(display_test::groupHolder(lines), true);
  shown.model->reset();
  view->setModel(shown.model);
  return shown;
}

inline display_test::ContentModel<session::UsersContent> showUsers(
    display_test::RecordingHost& host, const std::vector<display_test::UserRow>& users) {
  QTableView* view = host.listView(display::DisplayType::Users);
  display_test::ContentModel<session::UsersContent> shown({}, view);
  shown.adopt(display_test::userHolder(users));
  view->setModel(shown.model);
  return shown;
}

// The names in a folder, FIFOs included (to see that no temporary file was
// left).
inline QStringList filesIn(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace transfer_test
