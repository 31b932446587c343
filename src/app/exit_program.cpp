#include "app/exit_program.h"

#include <cstdio>
#include <cstdlib>

#include "app/main_form_port.h"
#include "launch/engine.h"
#include "winapi/registry.h"
#include "settings/saved_settings.h"

namespace {
std::function<void()>& ProcessEnd() {
  static std::function<void()> end;
  return end;
}
std::function<void()>& FormsRelease() {
  static std::function<void()> release;
  return release;
}
bool& Exiting() {
  static bool exiting = false;
  return exiting;
}
}  // namespace

void SetFormsRelease(std::function<void()> release) {
  FormsRelease() = std::move(release);
}

void SetProcessEndForTesting(std::function<void()> end) {
  ProcessEnd() = std::move(end);
}
void ResetExitProgramForTesting() {
  Exiting() = false;
}

[[noreturn]] void EndProcess() {
  std::fflush(nullptr);
  // Every window goes with the process, without any further event: the
  // settings have been written and nothing else is pending.
  std::_Exit(0);
}

void ExitProgram() {
  // Closing the window while the Exit item ends the program must not save
  // twice.
  if (Exiting()) return;
  Exiting() = true;
  MainFormPort* window = mainform::Window();
  bool saved = window == nullptr || SaveSettings(*window);
  // The game program is saved only where the folder offers a choice.
  if (window != nullptr && window->session.engineChoiceOffered) {
    saved &= SaveEngineName(launch::RowOf(window->session.engine).savedAs);
  }
  if (!saved) {
    window->ShowMessage(
        NoDice("Kestrum could not save its settings in " +
               (platform::SettingsStorePath().empty() ? std::string("the registry")
                                                      : platform::SettingsStorePath()) +
               ", so the options and the window's place will not come back "
               "next time."));
  }
  mainform::SetWindow(nullptr);
  if (FormsRelease()) FormsRelease()();
  if (ProcessEnd()) {
    ProcessEnd()();
    return;
  }
  EndProcess();
}
