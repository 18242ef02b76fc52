#pragma once
// Opens files with the desktop's handler (xdg-open on Linux desktops).

#include "ui/program_starter.h"

namespace ui {

class QtProgramStarter final : public ProgramStarter {
 public:
  bool openFile(const std::string& localFile) override;
};

}  // namespace ui
