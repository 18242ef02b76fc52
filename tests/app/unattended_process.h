#pragma once
// Runs the built program as an unattended command, as a script would: no
// display, over a lab file, in a folder of the test's.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <string>

#include <gtest/gtest.h>

namespace apptest {

struct RunResult {
  int exitCode = -1;  // -1: the process did not end normally
  std::string standardOutput;
  std::string standardError;  // without Qt's own start-up notes
};

// Runs the program with `arguments`; `environment` is added to (and
// overrides) this process's own, without a display.
inline RunResult runProgram(const QString& folder, const QStringList& arguments,
                            const QProcessEnvironment& environment = {}) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  env.insert(environment);
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(folder);
  process.start(VELTRANE_BINARY_DIR "/veltrane", arguments);
  EXPECT_TRUE(process.waitForFinished(60000));
  RunResult r;
  r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  r.standardOutput = process.readAllStandardOutput().toStdString();
  for (const QByteArray& line : process.readAllStandardError().split('\n'))
    if (!line.isEmpty() && !line.startsWith("QStandardPaths"))
      r.standardError += line.toStdString() + "\n";
  return r;
}

inline RunResult runUnattended(const QString& folder, const QString& labFile,
                               const QStringList& words) {
  return runProgram(folder, QStringList{"--lab", labFile} + words);
}

}  // namespace apptest
