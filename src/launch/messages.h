// What the user is told when a file or a command line cannot be given to
// the game, in the user's words. The layers below say why as data.
#pragma once

#include <string>

#include "dosbox/start_failure.h"

namespace launch {

// The text of the message box for a file DOS cannot open.
std::string Describe(const platform::dosview::FileTrouble& trouble);
// The text of the message box for a command line that was not started.
std::string Describe(const platform::StartFailure& failure);

}  // namespace launch
