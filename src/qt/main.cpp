#include <QApplication>
#ifndef _WIN32
#include <xcb/xcb.h>

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <string>

#include "app/arguments.h"
#include "app/preset_sequences.h"
#include "qt/dialogs.h"
#include "qt/frm_main.h"
#include "winapi/dos_paths.h"

namespace {
#ifndef _WIN32
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

// Logging out or "kill" asks the program to end: it ends the way closing the
// window does, so the settings are saved.
void CloseOnTerminationSignals(frmMain* window) {
  // Close-on-exec: a started program that inherited the pipe could end
  // Kestrum with one byte.
  if (::pipe2(signalPipe, O_CLOEXEC) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window,
                   [window] { window->EndOnSignal(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}
#else
void CloseOnTerminationSignals(frmMain*) {}
#endif
}  // namespace

#ifndef _WIN32
// Whether the window system Qt is about to use answers: without one Qt ends
// the program with an abort and a hint to reinstall it.
bool DisplayAnswers() {
  const std::string platform = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString();
  if (!platform.empty() && !platform.starts_with("xcb") && !platform.starts_with("wayland")) {
    return true;  // offscreen, VNC and the like need no display
  }
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return true;
  if (qEnvironmentVariableIsEmpty("DISPLAY") || platform.starts_with("wayland")) return false;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}
#else
bool DisplayAnswers() {
  return true;
}
#endif

int main(int argc, char** argv) {
  if (const auto answer = AnswerArguments(argc, argv, KESTRUM_VERSION)) {
    std::fputs(answer->text.c_str(), stdout);
    return answer->exitCode;
  }
  if (const auto preset = PresetArgument(argc, argv)) {
    // The game alone: no window of Kestrum's, no settings of the window's.
    platform::RecordStartupPath(argc > 0 ? argv[0] : nullptr);
    const std::optional<Message> refused = mainform::StartPresetAlone(*preset);
    if (!refused) return 0;
    std::fputs(("kestrum: " + refused->text + "\n").c_str(), stderr);
    // Told in a box too, where someone can see one (a menu entry has no
    // terminal).
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (DisplayAnswers() && !platform.startsWith("offscreen") && !platform.startsWith("minimal")) {
      int qtArgc = argc > 0 ? 1 : 0;
      QApplication app(qtArgc, argv);
      dialogs::MsgBox(nullptr, QString::fromStdString(refused->text),
                      QString::fromStdString(refused->title), refused->style);
    }
    return 1;
  }
  if (!DisplayAnswers()) {
    std::fputs(NoDisplayMessage().c_str(), stderr);
    return 1;
  }
  platform::RecordStartupPath(argc > 0 ? argv[0] : nullptr);
  // No argument changes what Kestrum does, Qt's own ones ("-platform",
  // "-style") included.
  int qtArgc = argc > 0 ? 1 : 0;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName("Kestrum");
  QApplication::setDesktopFileName("kestrum");
  QApplication::setQuitOnLastWindowClosed(false);

  auto* window = new frmMain();
  if (!window->Form_Load()) return 0;
  CloseOnTerminationSignals(window);
  return app.exec();
}
