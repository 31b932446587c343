// Where this user's settings for Kestrum live, as the desktop's base
// folders say.
#pragma once

#include <string>

namespace platform::posix {

// ${XDG_CONFIG_HOME:-$HOME/.config}/kestrum, made absolute once.
std::string ConfigFolder();

}  // namespace platform::posix
