// Where the POSIX registry file lives, and a fault hook for tests.
#pragma once

#include <functional>
#include <string>

namespace platform::posix {

// ${XDG_CONFIG_HOME:-$HOME/.config}/kestrum/user.reg
std::string RegistryFilePath();

// Called after the new file is written and flushed, just before it replaces
// the old one. Tests use it to stop a writer at the worst moment.
void SetBeforeReplaceHookForTesting(std::function<void()> hook);

}  // namespace platform::posix
