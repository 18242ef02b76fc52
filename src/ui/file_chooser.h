#pragma once
// The file-dialog port: open and save choosers with title, filters, the
// filter selected at first and a default extension. The save chooser asks
// before it overwrites. The window installs a Qt version, tests a scripted
// one (ui/scripted_file_chooser.h).

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ui {

struct FileFilter {
  std::string name;                   // "Text files"
  std::vector<std::string> patterns;  // {"*.txt"}
};

struct FileRequest {
  std::string title;
  std::vector<FileFilter> filters;
  int initialFilter = 0;         // index into filters
  // Without the dot; appended when the name has none and the selected
  // filter names no extension of its own ("*.csv" names "csv").
  std::string defaultExtension;
  std::string initialPath;       // directory or file proposed at first
  bool askBeforeOverwrite = true;  // save only
};

// What the user confirmed in a save chooser: the path, and the filter that
// was selected then (an index into the request's filters), since the filter
// can decide what is written.
struct FileChoice {
  std::string path;
  int filter = 0;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> open(const FileRequest& request) = 0;
  virtual std::optional<FileChoice> saveChoice(const FileRequest& request) = 0;
  // The window the choosers are shown over; a scripted chooser ignores it.
  virtual void setOwner(QWidget* /*owner*/) {}

  std::optional<std::string> save(const FileRequest& request) {
    auto choice = saveChoice(request);
    if (!choice) return std::nullopt;
    return std::move(choice->path);
  }
};

// The extension a name without one gets under filter `filter` (an index
// into the request's filters): the filter's first pattern's ("*.csv" gives
// "csv"), or the request's default when the filter names none. A typed
// name then follows the format the user picked, not a fixed default.
inline std::string extensionFor(const FileRequest& request, int filter) {
  if (filter >= 0 && static_cast<std::size_t>(filter) < request.filters.size()) {
    const auto& patterns = request.filters[static_cast<std::size_t>(filter)].patterns;
    if (!patterns.empty() && patterns.front().starts_with("*.") &&
        patterns.front().find_first_of("*?[", 2) == std::string::npos)
      return patterns.front().substr(2);
  }
  return request.defaultExtension;
}

// The name with the extension of `filter` (see extensionFor) appended when
// it has none.
inline std::string withDefaultExtension(std::string path, const FileRequest& request,
                                        int filter = -1) {
  const std::string extension = extensionFor(request, filter);
  if (extension.empty() || path.empty()) return path;
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    path += "." + extension;
  return path;
}

}  // namespace ui
