#pragma once
// The program-start port: hands a file to the desktop's handler for it (the
// editors behind the user dialog's "... " buttons). The window uses the Qt
// version (ui/qt_program_starter.h); tests script it
// (ui/scripted_program_starter.h). No Qt: the header is in the Qt-free ports
// target.

#include <string>

namespace ui {

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Opens `localFile` with the program the desktop uses for it; false when
  // nothing could be started.
  virtual bool openFile(const std::string& localFile) = 0;
};

}  // namespace ui
