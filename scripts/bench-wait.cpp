// Starts a program and waits, on the X display, until it maps a top-level
// window whose title starts with the given text; prints the milliseconds
// from the start to then, and the program's resident and peak memory (KiB)
// half a second later (BENCH_WAIT_LINGER_MS), then ends the program.
//   bench-wait <title prefix> <program> [arguments...]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {
std::string Title(xcb_connection_t* c, xcb_window_t w) {
  auto cookie = xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
  std::string title;
  if (reply != nullptr) {
    title.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                 static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
  }
  return title;
}

long Status(pid_t pid, const char* field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(field, 0) == 0)
      return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  }
  return -1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string prefix = argv[1];
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c) != 0) return 1;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);

  // A window that never comes (a dialog instead, say) must not hold the
  // bench for ever: the alarm ends this process, and the bench says so.
  ::alarm(30);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(0);
    ::execv(argv[2], argv + 2);
    ::_exit(127);
  }
  bool shown = false;
  while (!shown) {
    xcb_generic_event_t* event = xcb_wait_for_event(c);
    if (event == nullptr) break;
    if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
      const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
      shown = Title(c, map->window).rfind(prefix, 0) == 0;
    }
    std::free(event);
  }
  const auto end = std::chrono::steady_clock::now();
  // BENCH_WAIT_LINGER_MS: how long the program runs on once it has shown.
  const char* linger = std::getenv("BENCH_WAIT_LINGER_MS");
  std::this_thread::sleep_for(std::chrono::milliseconds(linger != nullptr ? std::atoi(linger) : 500));
  const long rss = Status(pid, "VmRSS:");
  const long peak = Status(pid, "VmHWM:");
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  xcb_disconnect(c);
  if (!shown) return 1;
  std::printf("%lld %ld %ld\n",
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::microseconds>(end - start).count()),
              rss, peak);
  return 0;
}
