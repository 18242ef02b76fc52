// Stop and close storms: browses of every display on a generated lab,
// stopped, switched, restarted and closed at random moments. After every
// round the window must be consistent (not busy once idle, the count text of
// a list matching its rows), and a close must return within the worker's
// grace period. A fixed seed makes a run repeatable.
//
//   veltrane_storm [--rounds N] [--users N] [--seed S]
//
// Prints a summary; exits 1 on the first inconsistency or slow close.

#include <QApplication>
#include <QElapsedTimer>
#include <QTabBar>
#include <QTableView>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "app/main_window.h"
#include "app/startup.h"
#include "session/display_traits.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "ui/scripted_messages.h"

namespace {

struct Options {
  int rounds = 1000;
  int users = 20000;
  std::uint32_t seed = 1;
};

bool parse(int argc, char** argv, Options* options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view flag = argv[i];
    const long value = std::strtol(argv[i + 1], nullptr, 10);
    if (value < 0) return false;
    if (flag == "--rounds") options->rounds = static_cast<int>(value);
    else if (flag == "--users") options->users = static_cast<int>(value);
    else if (flag == "--seed") options->seed = static_cast<std::uint32_t>(value);
    else return false;
  }
  return (argc - 1) % 2 == 0;
}

struct Tally {
  int browses = 0, stops = 0, switches = 0, closes = 0, finished = 0;
  qint64 slowestCloseMs = 0;
};

// Gives the window's thread time: queued fills and status texts arrive.
void pump(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  do {
    QApplication::processEvents(QEventLoop::AllEvents, 2);
  } while (timer.elapsed() < milliseconds);
}

class Storm {
 public:
  explicit Storm(const Options& options)
      : m_options(options), m_random(options.seed) {
    lab::GeneratorOptions lab;
    lab.users = options.users;
    lab.groups = std::max(10, options.users / 50);
    lab.servers = 20;
    m_backend = std::make_unique<platform::ScopedBackend>(
        lab::makeLabBackend(lab::generateLab(lab)));
  }

  int run() {
    if (!open()) return fail("the window did not start");
    for (int round = 1; round <= m_options.rounds; ++round) {
      act();
      if (!m_window->browsing()) {
        if (std::string why = inconsistency(); !why.empty())
          return fail("round " + std::to_string(round) + ": " + why);
      }
      if (!m_failure.empty()) return fail(m_failure);
    }
    closeWindow();
    std::printf("storm: %d rounds (seed %u, %d users): %d browse requests, %d waited for to the end, %d stops, "
                "%d tab switches, %d closes, slowest close %lld ms\n",
                m_options.rounds, m_options.seed, m_options.users, m_tally.browses,
                m_tally.finished, m_tally.stops, m_tally.switches, m_tally.closes,
                static_cast<long long>(m_tally.slowestCloseMs));
    return m_failure.empty() ? 0 : fail(m_failure);
  }

 private:
  bool open() {
    app::Ports ports{std::make_shared<ui::ScriptedMessages>(),
                     std::make_shared<ui::ScriptedFileChooser>(),
                     std::make_shared<ui::ScriptedDialogRunner>()};
    m_window = std::make_unique<app::MainWindow>(ports, app::WindowOptions{false});
    if (!m_window->initialise()) return false;
    m_window->resize(980, 600);
    m_window->show();
    return true;
  }

  void closeWindow() {
    QElapsedTimer timer;
    timer.start();
    m_window->close();
    m_window.reset();
    const qint64 took = timer.elapsed();
    m_tally.slowestCloseMs = std::max(m_tally.slowestCloseMs, took);
    ++m_tally.closes;
    // The grace period a stuck worker gets, and a little for the window.
    if (took > 2500) m_failure = "closing took " + std::to_string(took) + " ms";
  }

  void act() {
    const int choice = std::uniform_int_distribution<int>(0, 99)(m_random);
    const int wait = std::uniform_int_distribution<int>(0, 40)(m_random);
    if (m_trace) {
      std::fprintf(stderr, "storm: action %d (tab %d, %s, count '%s'), then %d ms\n", choice,
                   m_window->tabBar()->currentIndex(), m_window->browsing() ? "busy" : "idle",
                   m_window->statusText(3).toStdString().c_str(), wait);
    }
    if (choice < 40) {
      if (!m_window->browsing()) ++m_tally.browses;
      m_window->browse();
    } else if (choice < 60) {
      if (m_window->browsing()) ++m_tally.stops;
      m_window->stopBrowse();
    } else if (choice < 85) {
      m_window->selectTab(std::uniform_int_distribution<int>(0, 5)(m_random));
      ++m_tally.switches;
    } else if (choice < 95) {
      // Let a browse run to its end.
      const bool wasBrowsing = m_window->browsing();
      QElapsedTimer timer;
      timer.start();
      while (m_window->browsing() && timer.elapsed() < 20000) pump(5);
      if (m_window->browsing()) m_failure = "a browse did not end within 20 s";
      else if (wasBrowsing) ++m_tally.finished;
    } else {
      closeWindow();
      if (m_failure.empty() && !open()) m_failure = "the window did not start again";
    }
    pump(wait);
  }

  // What an idle window must show.
  std::string inconsistency() {
    if (m_window->animationFrame() != 0) return "the browse button still turns";
    if (m_window->statusText(0).startsWith("Browsing")) return "the status still says browsing";
    const display::DisplayType type = m_window->currentDisplayType();
    const display::DisplayTraits& traits = display::traitsOf(type);
    if (type != display::DisplayType::Users && type != display::DisplayType::Servers) return {};
    const QString count = m_window->statusText(3);
    // A stopped browse leaves the list as it was and says so instead.
    if (m_window->statusText(2) == "User terminated browse.")
      return count == "0 " ? std::string() : "a stop left the count " + count.toStdString();
    auto* view = qobject_cast<QTableView*>(m_window->resultControl(traits.listControl));
    const int rows = view && view->model() ? view->model()->rowCount() : 0;
    if (!count.isEmpty() && count.toInt() != rows)
      return "the count says " + count.toStdString() + " but " + std::to_string(rows) +
             " rows show";
    return {};
  }

  int fail(const std::string& why) {
    std::fprintf(stderr, "storm: %s (seed %u)\n", why.c_str(), m_options.seed);
    return 1;
  }

  Options m_options;
  std::mt19937 m_random;
  std::unique_ptr<platform::ScopedBackend> m_backend;
  std::unique_ptr<app::MainWindow> m_window;
  Tally m_tally;
  std::string m_failure;
  bool m_trace = !qEnvironmentVariableIsEmpty("VELTRANE_STORM_TRACE");
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, &options)) {
    std::fprintf(stderr, "usage: veltrane_storm [--rounds N] [--users N] [--seed S]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  app::initResources();
  return Storm(options).run();
}
