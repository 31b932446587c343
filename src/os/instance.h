// One Kestrum per user.
#pragma once

namespace platform {

// True when another copy runs for this user. Otherwise this process now holds
// the instance lock until it ends (or ReleaseInstance is called).
bool AnotherInstanceRunning();
void ReleaseInstance();

}  // namespace platform
