// Starting the game's programs from the program directory.
#pragma once

#include <cstdint>
#include <functional>
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
// The same for a line already in words (the game's, as the builder made it).
Started StartMaximised(const std::vector<std::string>& words,
                       const std::vector<platform::ChosenFile>& chosen = {});

// Starts a game program with its argument vector, from the program
// directory, maximised; never waits for it. ended runs once it has ended
// (every process of its group, where the system tells).
Started StartGameProgram(const std::vector<std::string>& words,
                         std::function<void()> ended = {});
// How long after its start a game program that has ended again started
// nothing the user can play, and what the user is told then.
inline constexpr int kEndedAtOnceMs = 1000;
std::string EndedAtOnce(const std::vector<std::string>& words);

// The user's own file for a program that looks beside it (a source port):
// a folder of the run's own that holds it alone, by a plain name. file is
// that file's path there; release takes the folder away.
struct StagedFile {
  std::string file;
  std::string error;
  std::function<void(std::int64_t task)> started;
  std::function<void()> release;
};
// How the line Alt+D shows names that folder before a launch has made it.
inline constexpr const char* kStagedFolderShown = "(a folder of this run)";
// Its name there is one that none of the folders the program looks in
// first holds, so that no file of the same name plays instead.
StagedFile StageUserFile(const platform::HostPath& file, const std::string& identity,
                         const std::vector<std::string>& looksFirstIn = {});

}  // namespace launch
