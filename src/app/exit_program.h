// The one way out: saves the settings once and ends the process at once.
#pragma once

#include <functional>

[[noreturn]] void EndProcess();
void ExitProgram();

// How the forms let go of their windows (the main window's and the popup
// menu's references) before the process ends.
void SetFormsRelease(std::function<void()> release);

// Tests replace how the process ends; ExitProgram then returns.
void SetProcessEndForTesting(std::function<void()> end);
// Lets a test run ExitProgram again.
void ResetExitProgramForTesting();
