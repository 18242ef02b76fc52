#include "app/startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QThread>
#include <QTabBar>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "app/backend_choice.h"
#include "app/main_window.h"
#include "app/network_logon.h"
#include "app/qt_logon_prompt.h"
#include "app/unattended_export.h"
#include "app/unattended_import.h"
#include "app/window_texts.h"
#include "platform/backend.h"
#include "platform/backend_module.h"
#include "platform/lab/lab.h"
#include "platform/local/config_file_local_system.h"
#include "platform/message_text.h"
#include "platform/server_name.h"
#include "platform/system.h"
#include "resources/strings.h"
#include "ui/icons.h"
#include "ui/qt_file_chooser.h"
#include "ui/qt_dialog_runner.h"
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

platform::BackendCatalog backendCatalog() {
  platform::BackendCatalog catalog;
  catalog.add("lab", lab::labBackendFactory());
  // Real domains need Samba's libraries: that backend is a module of its
  // own package, loaded only when it is asked for.
  catalog.addModule("samba", platform::backendModuleFolders());
  return catalog;
}

std::shared_ptr<platform::Backend> makeBackend(const platform::BackendCatalog& catalog,
                                               const Options& options, std::string* error) {
  platform::BackendOptions settings;
  if (!options.labFile.empty()) settings["file"] = options.labFile;
  if (!options.authenticationFile.empty())
    settings["authentication-file"] = options.authenticationFile;
  auto backend = catalog.make(options.backend, settings, error);
  if (backend && !backend->local) {
    backend->local =
        std::make_shared<platform::ConfigFileLocalSystem>(platform::defaultLocalRegistryPath());
  }
  return backend;
}

namespace {

std::string backendFailureHeading(std::string_view backend) {
  if (backend == "lab") return "the lab could not be loaded:";
  return "the " + platform::messageText(backend) + " backend could not start:";
}

}  // namespace

std::string backendFailureLine(std::string_view backend, std::string_view error) {
  // Scripts read standard error line by line: whatever the loader's text
  // holds, the failure stays on one line.
  const std::string rest = platform::oneLine(error);
  return backendFailureHeading(backend) + (rest.empty() ? "" : " " + rest);
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
    std::fprintf(stderr, "veltrane: could not write %s\n",
                 platform::messageText(file, platform::kQuotedPathChars).c_str());
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

  // The import needs no window: it runs before Qt starts.
  if (isImportRequest(options)) return runUnattendedImport(options);

  std::optional<AutoCommand> autoCommand;
  if (!options.autoWords.empty()) {
    const std::vector<std::string_view> words(options.autoWords.begin(), options.autoWords.end());
    autoCommand = autoCommandFromWords(words);
    if (!autoCommand || !isCompleteAutoCommand(*autoCommand)) {
      std::string text(res::loadString(kStrBadCommandLine));
      std::fprintf(stderr, "veltrane: %s\n%s", text.c_str(), usageText().c_str());
      return 2;
    }
    autoCommand->members = options.members;
    if (const std::string misfit = optionsMisfit(*autoCommand); !misfit.empty()) {
      std::fprintf(stderr, "veltrane: %s\n%s", misfit.c_str(), usageText().c_str());
      return 2;
    }
    // The server list holds UNC names.
    autoCommand->server = platform::uncName(autoCommand->server);
  }
  if (!autoCommand && !haveDisplay()) {
    if (!options.screenshot.empty()) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
      std::fprintf(stderr,
                   "veltrane: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                   "veltrane: run it in a graphical session, or give KEYWORD SERVER FILE for an\n"
                   "veltrane: unattended export (see --help).\n");
      return 1;
    }
  }

  // The lab is loaded before Qt starts, so that a lab that cannot be loaded
  // is the one line the program prints (a user at a desktop also gets the
  // reason in a box below).
  const platform::BackendCatalog catalog = backendCatalog();
  // The backend choice is kept in this machine's settings file, whatever
  // backend then keeps the program's other settings.
  platform::ConfigFileLocalSystem machine(platform::defaultLocalRegistryPath());
  Options chosen = options;
  std::optional<std::string> given;
  if (options.backendGiven) given = options.backend;
  else if (!options.labFile.empty()) given = "lab";  // --lab alone: the lab, not remembered
  const BackendChoice choice = chooseBackend(given, catalog.names(), machine);
  chosen.backend = choice.name;
  if (!choice.warning.empty()) std::fprintf(stderr, "veltrane: %s\n", choice.warning.c_str());

  std::string labError;
  auto backend = makeBackend(catalog, chosen, &labError);
  if (!backend) {
    std::fprintf(stderr, "veltrane: %s\n", backendFailureLine(chosen.backend, labError).c_str());
    if (autoCommand || !options.screenshot.empty()) return 1;
  } else if (options.backendGiven) {
    rememberBackend(machine, options.backend);
  }
  // An unattended run never asks for a password: it says what is missing.
  if (backend && (autoCommand || !options.screenshot.empty()) && needsLogon(*backend)) {
    std::fprintf(stderr, "veltrane: %s\n", backendFailureLine(chosen.backend, noLogonLine()).c_str());
    return 1;
  }

  res::setProgramTitle(argc > 0 ? argv[0] : "veltrane");
  if (autoCommand && backend) {
    // No window and no GUI: only the database export needs Qt's core (its
    // SQL driver is a plug-in).
    QCoreApplication core(argc, argv);
    platform::ScopedBackend installed(std::move(backend));
    return runUnattendedExport(*autoCommand);
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(res::programTitle()));
  initResources();
  QApplication::setWindowIcon(ui::appIcon());
  std::shared_ptr<ui::Messages> messages = makeMessages();

  if (!backend) {
    // Nobody would see a box offscreen, and it would wait for ever.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
      std::string heading = backendFailureHeading(chosen.backend);
      heading[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(heading[0])));
      messages->ok(heading + "\n" + labError, std::string(kCaptionProduct), ui::Icon::Error);
    }
    return 1;
  }
  if (!choice.warning.empty() &&
      QGuiApplication::platformName() != QLatin1String("offscreen")) {
    std::string text = choice.warning;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    messages->ok(text + ".", std::string(kCaptionProduct), ui::Icon::Warning);
  }
  if (options.screenshot.empty()) {
    connectLogonPrompt(*backend, std::make_shared<QtLogonPrompt>());
    // Cancel goes on without an account: the first call that needs a
    // controller asks again, and a second Cancel gives that call's message.
    logOnAtStart(*backend);
  }
  platform::ScopedBackend installed(std::move(backend));

  if (!platformSupported(*messages)) return 1;

  Ports ports{messages, std::make_shared<ui::QtFileChooser>(),
              std::make_shared<ui::QtDialogRunner>(), nullptr};
  WindowOptions windowOptions;
  windowOptions.backendName = chosen.backend;
  windowOptions.splash = options.splash && options.screenshot.empty();
  int code = 0;
  {
    MainWindow window(ports, windowOptions);
    if (!window.initialise()) return 1;
    if (!options.screenshot.empty()) {
      code = takeScreenshot(window, options.screenshot);
    } else {
      window.show();
      code = QApplication::exec();
    }
  }
  return code;
}

}  // namespace app
