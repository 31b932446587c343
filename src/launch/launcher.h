// Starting the game's programs from the program directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dosbox/runner.h"

namespace launch {

// Whether a normal file of that name lies in the program directory.
bool ProgramIsInstalled(const std::string& fileName);
// Makes the program directory the current directory.
void EnterProgramDirectory();
// A started program, or what the user is told when nothing started.
struct Started {
  std::int64_t taskId = 0;
  std::string error;
};
// Starts a command line in a maximised window; never waits for it.
Started StartMaximised(const std::string& commandLine,
                       const std::vector<platform::ChosenFile>& chosen = {});

// Starts a game program with its argument vector, from the program
// directory, maximised. One that ends within a moment of its start has
// started nothing the user can play: that is an error too.
Started StartGameProgram(const std::vector<std::string>& words);

}  // namespace launch
