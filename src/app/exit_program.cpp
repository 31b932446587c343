#include "app/exit_program.h"

#include <cstdio>
#include <cstdlib>

#include "app/frm_main.h"
#include "platform/platform.h"
#include "settings/saved_settings.h"
#include "tools/frm_popup.h"

namespace {
std::function<void()>& ProcessEnd() {
  static std::function<void()> end;
  return end;
}
bool& Exiting() {
  static bool exiting = false;
  return exiting;
}
}  // namespace

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
  if (MainForm != nullptr) SaveSettings(*MainForm);
  MainForm = nullptr;
  frmPopup::Release();
  if (ProcessEnd()) {
    ProcessEnd()();
    return;
  }
  EndProcess();
}
