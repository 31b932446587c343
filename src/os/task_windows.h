// The windows of a started task.
#pragma once

#include <cstdint>

namespace platform {

// Brings the top-level window of a started task (or of a program it started
// in turn) to the front. False when it has none, has ended, or the platform
// gives no way to (Wayland).
bool ActivateTaskWindow(std::int64_t taskId);

}  // namespace platform
