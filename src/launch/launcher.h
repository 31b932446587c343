// Starting the game's programs from the program directory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dosbox/runner.h"
#include "launch/plan.h"

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
// The same for a line already in words (the game's, as the builder made it).
Started StartMaximised(const std::vector<std::string>& words,
                       const std::vector<platform::ChosenFile>& chosen = {});

// Starts a plan's program with its argument vector, in the plan's folder,
// maximised; never waits for it. ended runs once it has ended (every
// process of its group, where the system tells).
Started StartGameProgram(const Plan& plan, std::function<void()> ended = {});
// How long after its start a game program that has ended again started
// nothing the user can play, and what the user is told then.
inline constexpr int kEndedAtOnceMs = 1000;
std::string EndedAtOnce(const std::vector<std::string>& words);

// The run's own folder a plan needs, made: what it holds, or why it could
// not be made. release takes it away; started names the task that uses it.
struct PreparedRun {
  RunFolder folder;
  std::string error;
  std::function<void(std::int64_t task)> started;
  std::function<void()> release;
};
PreparedRun PrepareRun(const Plan& plan);

// The preset's own folder made ready for that engine (made where missing,
// with the file that keeps the engine in it); why not, in the Parts' words
// of a folder, where it cannot be.
std::string PrepareOwnFolder(const std::string& hostFolder, GameEngine engine);

}  // namespace launch
