#include "app/startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QThread>
#include <QTabBar>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "app/unattended_messages.h"
#include "app/window_texts.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/server_name.h"
#include "platform/system.h"
#include "resources/strings.h"
#include "ui/icons.h"
#include "ui/qt_file_chooser.h"
#include "ui/qt_messages.h"

static void initVeltraneResources() { Q_INIT_RESOURCE(veltrane); }

namespace app {

bool platformSupported(ui::Messages& messages) {
  platform::OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (platform::GetVersionEx(&info) && info.dwPlatformId == platform::VER_PLATFORM_WIN32_NT)
    return true;
  messages.ok(std::string(res::loadString(kStrUnsupportedPlatform)),
              std::string(kCaptionRefusal));
  return false;
}

std::shared_ptr<platform::Backend> makeBackend(const std::string& labFile, std::string* error) {
  std::string path = labFile;
  if (path.empty()) {
    path = lab::ensureDefaultLab(error);
    if (path.empty()) return nullptr;
  }
  std::shared_ptr<lab::Lab> loaded = lab::loadLabFile(path, error);
  if (!loaded) return nullptr;
  return lab::makeLabBackend(std::move(loaded));
}

void initResources() {
  static const bool done = [] {
    initVeltraneResources();
    return true;
  }();
  (void)done;
}

namespace {

// Browses the Users display, waits for the fill and saves the window.
int takeScreenshot(MainWindow& window, const std::string& file) {
  window.resize(980, 600);
  window.show();
  window.selectTab(5);
  window.browse();
  QElapsedTimer timer;
  timer.start();
  while (window.browsing() && timer.elapsed() < 30000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  QApplication::processEvents();
  if (window.browsing()) {
    std::fprintf(stderr, "veltrane: the Users browse did not finish\n");
    return 1;
  }
  if (!window.grab().save(QString::fromStdString(file), "PNG")) {
    std::fprintf(stderr, "veltrane: could not write %s\n", file.c_str());
    return 1;
  }
  return 0;
}

std::shared_ptr<ui::Messages> makeMessages() {
  // Deleted on the GUI thread even if a detached worker holds it last.
  return std::shared_ptr<ui::QtMessages>(new ui::QtMessages, [](ui::QtMessages* m) {
    if (QCoreApplication::instance() &&
        QThread::currentThread() != QCoreApplication::instance()->thread())
      m->deleteLater();
    else
      delete m;
  });
}

bool haveDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The unattended browse-and-export: runs the request in the (minimised)
// window until its export has run. 0 on success; otherwise one line on
// standard error says what failed.
int runUnattended(MainWindow& window, const AutoCommand& command,
                  const UnattendedMessages& messages) {
  window.runAutoCommand(command);
  // Sleeps until something happens: the timed form of processEvents returns
  // at once when nothing is pending, which spun a core for the whole browse.
  while (!window.autoCommandResult())
    QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  const MainWindow::AutoCommandResult& result = *window.autoCommandResult();
  // Every message this program shows reports a failure, so one shown during
  // the run means the export may not hold what was asked for.
  std::string failure = result.failure;
  for (const std::string& line : messages.lines()) {
    if (!failure.empty()) failure += "; ";
    failure += line;
  }
  if (failure.empty()) return 0;
  std::fprintf(stderr, "veltrane: %s\n", failure.c_str());
  return 1;
}

}  // namespace

int runApplication(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const OptionsResult parsed = parseOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "veltrane: %s\n%s", parsed.error.c_str(), usageText().c_str());
    return 2;
  }
  const Options& options = *parsed.options;
  if (options.help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }

  std::optional<AutoCommand> autoCommand;
  if (!options.autoWords.empty()) {
    const std::vector<std::string_view> words(options.autoWords.begin(), options.autoWords.end());
    autoCommand = autoCommandFromWords(words);
    if (!autoCommand || !isCompleteAutoCommand(*autoCommand)) {
      std::string text(res::loadString(kStrBadCommandLine));
      std::fprintf(stderr, "veltrane: %s\n%s", text.c_str(), usageText().c_str());
      return 2;
    }
    // The server list holds UNC names.
    autoCommand->server = platform::uncName(autoCommand->server);
  }
  if (!haveDisplay()) {
    if (autoCommand || !options.screenshot.empty()) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
      std::fprintf(stderr,
                   "veltrane: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                   "veltrane: run it in a graphical session, or give KEYWORD SERVER FILE for an\n"
                   "veltrane: unattended export (see --help).\n");
      return 1;
    }
  }

  res::setProgramTitle(argc > 0 ? argv[0] : "veltrane");
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(res::programTitle()));
  initResources();
  QApplication::setWindowIcon(ui::appIcon());
  std::shared_ptr<UnattendedMessages> unattendedMessages;
  std::shared_ptr<ui::Messages> messages;
  if (autoCommand) {
    unattendedMessages = std::make_shared<UnattendedMessages>();
    messages = unattendedMessages;
  } else {
    messages = makeMessages();
  }

  std::string error;
  auto backend = makeBackend(options.labFile, &error);
  if (!backend) {
    const std::string text = "The lab could not be loaded:\n" + error;
    std::fprintf(stderr, "veltrane: %s\n", text.c_str());
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
      messages->ok(text, std::string(kCaptionProduct), ui::Icon::Error);
    return 1;
  }
  platform::ScopedBackend installed(std::move(backend));

  if (!platformSupported(*messages)) {
    if (unattendedMessages) std::fprintf(stderr, "veltrane: this platform is not supported\n");
    return 1;
  }

  Ports ports{messages, std::make_shared<ui::QtFileChooser>(),
              std::make_shared<ui::QtDialogRunner>()};
  WindowOptions windowOptions;
  windowOptions.splash = options.splash && options.screenshot.empty() && !autoCommand;
  int code = 0;
  {
    MainWindow window(ports, windowOptions);
    if (auto* chooser = dynamic_cast<ui::QtFileChooser*>(ports.files.get()))
      chooser->setOwner(&window);
    if (!window.initialise()) {
      if (unattendedMessages) {
        const auto lines = unattendedMessages->lines();
        std::fprintf(stderr, "veltrane: %s\n",
                     lines.empty() ? "the window could not start" : lines.front().c_str());
      }
      return 1;
    }
    if (autoCommand) {
      code = runUnattended(window, *autoCommand, *unattendedMessages);
    } else if (!options.screenshot.empty()) {
      code = takeScreenshot(window, options.screenshot);
    } else {
      window.show();
      code = QApplication::exec();
    }
  }
  return code;
}

}  // namespace app
