// Bringing a started program's window to the front on X11: its top-level
// window is found by the process id the window system records for it
// (_NET_WM_PID), and the window manager is asked to activate it
// (_NET_ACTIVE_WINDOW), as a task bar does. Wayland gives programs no such
// way; there Kestrum only restores its own window.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "os/task_windows.h"
#include "os/posix/small_files.h"

namespace platform {

namespace {

// The task and every process below it: the game runs under DOSBox or a
// script, and the window may belong to any of them.
std::set<long> TaskAndItsChildren(long task) {
  std::multimap<long, long> children;
  if (DIR* proc = ::opendir("/proc")) {
    while (const dirent* e = ::readdir(proc)) {
      char* end = nullptr;
      const long pid = std::strtol(e->d_name, &end, 10);
      if (pid <= 0 || *end != '\0') continue;
      const std::string record = posix::ReadSmallFile("/proc/" + std::string(e->d_name) + "/stat");
      const std::string line = record.substr(0, record.find('\n'));
      // "pid (name) state ppid ...": the name may hold blanks and brackets.
      const auto close = line.rfind(')');
      if (close == std::string::npos || close + 4 > line.size()) continue;
      const long parent = std::strtol(line.c_str() + close + 4, nullptr, 10);
      children.emplace(parent, pid);
    }
    ::closedir(proc);
  }
  std::set<long> found{task};
  std::vector<long> todo{task};
  while (!todo.empty()) {
    const long pid = todo.back();
    todo.pop_back();
    const auto [first, last] = children.equal_range(pid);
    for (auto it = first; it != last; ++it) {
      if (found.insert(it->second).second) todo.push_back(it->second);
    }
  }
  return found;
}

struct Connection {
  xcb_connection_t* c = nullptr;
  ~Connection() {
    if (c != nullptr) xcb_disconnect(c);
  }
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const auto cookie = xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The 32-bit items of a window's property.
std::vector<std::uint32_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                    xcb_atom_t type) {
  const auto cookie = xcb_get_property(c, 0, window, name, type, 0, 1 << 16);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(c, cookie, nullptr), &std::free);
  std::vector<std::uint32_t> items;
  if (!reply || reply->format != 32) return items;
  const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
  items.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
  return items;
}

}  // namespace

bool ActivateTaskWindow(std::int64_t taskId) {
  if (taskId <= 0 || ::kill(static_cast<pid_t>(taskId), 0) != 0) return false;
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return false;
  Connection x;
  int screenNumber = 0;
  x.c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(x.c) != 0) return false;
  auto screens = xcb_setup_roots_iterator(xcb_get_setup(x.c));
  for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) return false;
  const xcb_window_t root = screens.data->root;

  const xcb_atom_t clientList = Atom(x.c, "_NET_CLIENT_LIST");
  const xcb_atom_t wmPid = Atom(x.c, "_NET_WM_PID");
  const xcb_atom_t activeWindow = Atom(x.c, "_NET_ACTIVE_WINDOW");
  if (clientList == XCB_ATOM_NONE || wmPid == XCB_ATOM_NONE || activeWindow == XCB_ATOM_NONE) {
    return false;
  }
  const std::set<long> task = TaskAndItsChildren(static_cast<long>(taskId));
  xcb_window_t target = XCB_WINDOW_NONE;
  // The window manager lists its windows oldest first: the newest of the
  // task's windows is the one it shows now.
  for (const std::uint32_t window : Property(x.c, root, clientList, XCB_ATOM_WINDOW)) {
    const auto pid = Property(x.c, window, wmPid, XCB_ATOM_CARDINAL);
    if (!pid.empty() && task.count(static_cast<long>(pid[0])) != 0) target = window;
  }
  if (target == XCB_WINDOW_NONE) return false;

  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = target;
  message.type = activeWindow;
  message.data.data32[0] = 2;  // asked for by the user, as from a task bar
  message.data.data32[1] = XCB_CURRENT_TIME;
  // A window manager still busy giving Kestrum its focus back may drop the
  // request: it is asked again until the window is the active one.
  for (int attempt = 0; attempt < 4; ++attempt) {
    xcb_send_event(x.c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(x.c);
    for (int wait = 0; wait < 10; ++wait) {
      ::usleep(10 * 1000);
      const auto active = Property(x.c, root, activeWindow, XCB_ATOM_WINDOW);
      if (!active.empty() && active[0] == target) return true;
    }
  }
  return true;  // asked for; what the window manager does is its own
}

}  // namespace platform
