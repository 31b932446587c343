#include "app/exit_program.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/main_form_port.h"
#include "app/preset_sequences.h"
#include "launch/engine.h"
#include "winapi/registry.h"
#include "settings/saved_settings.h"

namespace mainform {

namespace {

MainFormPort*& TheWindow() {
  static MainFormPort* window = nullptr;
  return window;
}

}  // namespace

// Kept beside what clears it at the end.
MainFormPort* Window() {
  return TheWindow();
}
void SetWindow(MainFormPort* window) {
  TheWindow() = window;
}

}  // namespace mainform

[[noreturn]] void EndProcess() {
  std::fflush(nullptr);
  // Every window goes with the process, without any further event: the
  // settings have been written and nothing else is pending.
  std::_Exit(0);
}

void ExitProgram() {
  MainFormPort* window = mainform::Window();
  if (window == nullptr) EndProcess();
  // Closing the window while the Exit item ends the program must not save
  // twice.
  Session& session = window->session;
  if (session.exiting) return;
  session.exiting = true;
  // The preset keeps what the window shows; the window's own choices are
  // what is saved as its own.
  mainform::LeavePreset(*window);
  bool saved = SaveSettings(*window);
  // The game program is saved only where the folder offers a choice.
  if (session.engineChoiceOffered) {
    saved &= SaveEngineName(launch::RowOf(session.engine).savedAs);
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
  if (session.releaseForms) session.releaseForms();
  if (session.endProcess) {
    // The window may be gone with the forms: what ends is held here.
    const std::function<void()> end = session.endProcess;
    end();
    return;
  }
  EndProcess();
}
