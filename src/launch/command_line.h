// The game's command line for the current choices.
#pragma once

#include <string>
#include <vector>

#include "base/launch_options.h"

// The text of the last line built; empty until the first build. The caller
// of BuildCommandLine keeps it here.
extern std::string GameCommandLine;

// The line for those options, the stage as the stage list shows it, and the
// short path of the user's own file (used when the stage is that file).
std::string BuildCommandLine(const LaunchOptionsRecord& options, const std::string& stage,
                             const std::string& userFilePath);

// How a game program is told the choices: the words before them, the
// character that starts a switch, and whether each argument reaches the
// program whole (an argument vector) or split at blanks (a DOS tail).
struct CommandDialect {
  std::vector<std::string> program;
  char switchChar;
  bool wholeArguments;
  // A user map is found through the program's search path, not by its
  // path: it is given as "-j FOLDER -map NAME", the folder holding the map
  // (and nothing the user did not choose).
  bool mapBySearchPath = false;
};
const CommandDialect& DosDialect();
// A source port of the EDuke32 family at that path.
CommandDialect PortDialect(const std::string& program);
// The same choices in a dialect's words; the user file as that program
// opens it (the DOS game: its short path; a port: the host path of a link
// in a folder of the run's own, which holds that link alone).
std::vector<std::string> BuildCommandWords(const CommandDialect& dialect,
                                           const LaunchOptionsRecord& options,
                                           const std::string& stage, const std::string& userFile);
// An argument vector as a line to show (a word with blanks in quotes).
std::string ShownCommandLine(const std::vector<std::string>& words);
