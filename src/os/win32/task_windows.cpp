// A started task's window, brought to the front.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "os/task_windows.h"

namespace platform {

namespace {
struct TaskWindowSearch {
  DWORD process = 0;
  HWND found = nullptr;
};
BOOL CALLBACK FindTaskWindow(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<TaskWindowSearch*>(search);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  // The task's main window: a visible top-level window that no other owns.
  if (process == s->process && ::IsWindowVisible(window) &&
      ::GetWindow(window, GW_OWNER) == nullptr) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

bool ActivateTaskWindow(std::int64_t taskId) {
  TaskWindowSearch search;
  search.process = static_cast<DWORD>(taskId);
  if (taskId <= 0) return false;
  ::EnumWindows(FindTaskWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return false;
  if (::IsIconic(search.found)) ::ShowWindow(search.found, SW_RESTORE);
  return ::SetForegroundWindow(search.found) != 0;
}

}  // namespace platform
