#include "launch/command_line.h"

#include "text/text.h"
#include "winapi/dos_paths.h"

std::string GameCommandLine;

const CommandDialect& DosDialect() {
  static const CommandDialect dos{{"command.com", "/c", "Duke3D"}, '/', false};
  return dos;
}

CommandDialect PortDialect(const std::string& program) {
  // Its own start-up window would stand between the user and the game.
  return CommandDialect{{program, "-nosetup"}, '-', true, true};
}

std::vector<std::string> BuildCommandWords(const CommandDialect& dialect,
                                           const LaunchOptionsRecord& o, const std::string& stage,
                                           const std::string& userFile) {
  const std::string extension = text::Right(text::ToLower(stage), 4);
  const bool isUserFile = extension == ".map" || extension == ".grp";
  std::vector<std::string> words = dialect.program;
  const auto add = [&](const std::string& s) { words.push_back(dialect.switchChar + s); };
  if (o.Record == 1) add("r");
  if (o.Monsters == 1) add("m");
  if (o.Sound == 1) add("nm");
  if (o.Sound == 2) add("ns");
  if (o.Sound == 3) {
    add("nm");
    add("ns");
  }
  add("s" + std::to_string(o.Skills + 1));
  // The game reads t1 as monsters, t2 items and t3 inventory, the list's
  // own positions; anything else after t is all three.
  if (o.Respawn == 4) {
    add("tx");
  } else if (o.Respawn != 0) {
    add("t" + std::to_string(o.Respawn));
  }
  if (o.Fakers != 0) add("q" + std::to_string(o.Fakers));
  if (o.ArtInt == 1) add("a");
  // Every built-in level, the first one too, is named: without v and l the
  // game opens its title screen and asks for the skill again.
  if (!isUserFile) {
    add("v" + text::Left(stage, 1));
    add("l" + text::Mid(stage, 3, 2));
  }
  if (extension == ".map" && dialect.mapBySearchPath) {
    // The port looks a map up in its search path with the leading slashes
    // cut off; the folder joins that path, ahead of the game's own.
    const auto slash = platform::LastSeparator(userFile);
    words.push_back("-j");
    words.push_back(slash == std::string::npos ? std::string(".")
                                               : userFile.substr(0, slash == 0 ? 1 : slash));
    words.push_back("-map");
    words.push_back(userFile.substr(slash == std::string::npos ? 0 : slash + 1));
  } else if (extension == ".map") {
    words.push_back("-map");
    words.push_back(userFile);
  }
  // The DOS game takes a group file only with its name attached to the
  // switch; a port takes it as the next argument, whatever it holds.
  if (extension == ".grp") {
    if (dialect.wholeArguments) {
      add("g");
      words.push_back(userFile);
    } else {
      add("g" + userFile);
    }
  }
  return words;
}

std::string BuildCommandLine(const LaunchOptionsRecord& o, const std::string& stage,
                             const std::string& userFilePath) {
  std::string line;
  for (const auto& w : BuildCommandWords(DosDialect(), o, stage, userFilePath)) {
    line += (line.empty() ? "" : " ") + w;
  }
  return text::TrimBlanks(line);
}

std::string ShownCommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const auto& w : words) {
    const bool quote = w.empty() || w.find_first_of(" \t\"") != std::string::npos;
    line += (line.empty() ? "" : " ") + (quote ? "\"" + w + "\"" : w);
  }
  return line;
}
