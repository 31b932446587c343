// The one way out: saves the settings once and ends the process at once.
#pragma once

#include <functional>

[[noreturn]] void EndProcess();
void ExitProgram();
