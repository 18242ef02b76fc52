#pragma once
// A ProgramStarter for tests: records every file it was asked to open and
// answers as the test chose.

#include <string>
#include <vector>

#include "ui/program_starter.h"

namespace ui {

class ScriptedProgramStarter final : public ProgramStarter {
 public:
  bool openFile(const std::string& localFile) override {
    m_opened.push_back(localFile);
    return m_starts;
  }
  // Whether the desktop has a handler: false makes every start fail.
  void setStarts(bool starts) { m_starts = starts; }
  const std::vector<std::string>& opened() const { return m_opened; }

 private:
  std::vector<std::string> m_opened;
  bool m_starts = true;
};

}  // namespace ui
