#include <QApplication>
#ifndef _WIN32
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

#include "app/frm_main.h"
#include "platform/platform.h"

namespace {
#ifndef _WIN32
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

// Logging out or "kill" asks the program to end: it ends the way closing the
// window does, so the settings are saved.
void CloseOnTerminationSignals(QWidget* window) {
  // Close-on-exec: a started program that inherited the pipe could end
  // Kestrum with one byte.
  if (::pipe2(signalPipe, O_CLOEXEC) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window] { window->close(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}
#else
void CloseOnTerminationSignals(QWidget*) {}
#endif
}  // namespace

int main(int argc, char** argv) {
  platform::RecordStartupPath(argc > 0 ? argv[0] : nullptr);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Kestrum");
  QApplication::setDesktopFileName("kestrum");
  QApplication::setQuitOnLastWindowClosed(false);

  auto* window = new frmMain();
  if (!window->Form_Load()) return 0;
  CloseOnTerminationSignals(window);
  return app.exec();
}
