#pragma once
// Shared set-up of the window tests: one QApplication, a fresh memory lab
// per test from tests/app/window-lab.json, and a window driven through
// scripted ports.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QThread>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "app/main_window.h"
#include "app/startup.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "../support/lab_fixture.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "ui/scripted_messages.h"

namespace apptest {

inline QApplication& testApp() {
  app::initResources();
  return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

inline std::string windowLabJson() {
  std::ifstream in(VELTRANE_SOURCE_DIR "/tests/app/window-lab.json");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Waits (running events) until `done` or a few seconds have passed.
inline bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Runs the window's shortcut for `key` as if the key had been pressed.
inline bool pressShortcut(QWidget& window, int key) {
  bool found = false;
  for (QShortcut* s : window.findChildren<QShortcut*>())
    if (s->key() == QKeySequence(key) && s->parent() == &window) {
      emit s->activated();
      found = true;
    }
  return found;
}

// Message boxes that hold a worker until the test opens the gate (boxes
// shown on the GUI thread answer at once).
class GatedMessages final : public ui::Messages {
 public:
  ui::Answer show(const ui::Message& message) override {
    std::unique_lock lock(m_mutex);
    m_shown.push_back(message);
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
      ++m_waiting;
      m_cv.wait(lock, [&] { return m_open; });
      --m_waiting;
    }
    return message.defaultAnswer;
  }
  int waiting() {
    std::lock_guard lock(m_mutex);
    return m_waiting;
  }
  void open() {
    {
      std::lock_guard lock(m_mutex);
      m_open = true;
    }
    m_cv.notify_all();
  }
  std::vector<ui::Message> shown() {
    std::lock_guard lock(m_mutex);
    return m_shown;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::vector<ui::Message> m_shown;
  int m_waiting = 0;
  bool m_open = false;
};

// The items of the menu titled `title` as the user sees them, "-" for a
// separator; empty when the bar has no such menu.
inline std::vector<std::string> menuTexts(const app::MainWindow& window, const QString& title) {
  std::vector<std::string> texts;
  for (const QAction* menu : window.menuBar()->actions()) {
    if (menu->text() != title || !menu->menu()) continue;
    for (const QAction* item : menu->menu()->actions())
      texts.push_back(item->isSeparator() ? "-" : item->text().toStdString());
  }
  return texts;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testApp();
    m_lab = lab::test::labFromText(windowLabJson(), "window-lab.json");
    ASSERT_TRUE(m_lab);
    m_backend.serveLab(m_lab);
  }
  void TearDown() override {
    m_window.reset();
    m_backend.reset();
  }

  // Makes and initialises the window; false when initialisation refused.
  bool makeWindow(std::shared_ptr<ui::Messages> messages = nullptr) {
    if (!messages) messages = m_messages;
    app::Ports ports{messages, m_files, m_dialogs};
    m_window = std::make_unique<app::MainWindow>(ports, app::WindowOptions{false});
    return m_window->initialise();
  }

  std::vector<std::string> shownTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : m_messages->shown()) texts.push_back(m.text);
    return texts;
  }

  std::shared_ptr<lab::Lab> m_lab;
  lab::test::ServedBackend m_backend;
  std::shared_ptr<ui::ScriptedMessages> m_messages = std::make_shared<ui::ScriptedMessages>();
  std::shared_ptr<ui::ScriptedFileChooser> m_files = std::make_shared<ui::ScriptedFileChooser>();
  std::shared_ptr<ui::ScriptedDialogRunner> m_dialogs =
      std::make_shared<ui::ScriptedDialogRunner>();
  std::unique_ptr<app::MainWindow> m_window;
};

}  // namespace apptest
