#include "launch/command_line.h"

#include "base/main_window.h"
#include "text/text.h"
#include "winapi/dos_paths.h"

std::string GameCommandLine;

namespace {

using Option = mainwindow::Option;

int Of(Option option) {
  return static_cast<int>(option);
}

// The DOS game's switches, written with that character.
CommandDialect DosSwitches(std::vector<std::string> program, char switchChar) {
  CommandDialect d;
  d.program = std::move(program);
  d.switchChar = switchChar;
  const std::string nm = std::string(1, switchChar) + "nm";
  const std::string ns = std::string(1, switchChar) + "ns";
  d.sound = {{}, {nm}, {ns}, {nm, ns}};
  return d;
}

// Its own start-up window would stand between the user and the game.
std::vector<std::string> NoSetup(std::vector<std::string> program) {
  program.push_back("-nosetup");
  return program;
}

}  // namespace

const CommandDialect& DosDialect() {
  static const CommandDialect dos = DosSwitches({"command.com", "/c", "Duke3D"}, '/');
  return dos;
}

CommandDialect PortDialect(const std::vector<std::string>& program, const std::string&) {
  CommandDialect d = DosSwitches(NoSetup(program), '-');
  d.wholeArguments = true;
  d.map = CommandDialect::Map::kSearchPath;
  d.group = CommandDialect::Group::kNextWord;
  return d;
}

CommandDialect JFDuke3DDialect(const std::vector<std::string>& program,
                               const std::string& mainGroup) {
  CommandDialect d = DosSwitches(NoSetup(program), '-');
  // It never looks in the folder it was started in, nor takes a path by
  // its full name: the game's folder goes on its search path, and the
  // user's file by its name from a folder of its own.
  const auto slash = platform::LastSeparator(mainGroup);
  if (slash != std::string::npos)
    d.program.push_back("-j" + mainGroup.substr(0, slash == 0 ? 1 : slash));
  d.wholeArguments = true;
  d.map = CommandDialect::Map::kSearchPath;
  d.group = CommandDialect::Group::kSearchPath;
  d.searchPathAttached = true;
  d.fakePlayersHoldAMap = true;
  d.whyNot = "JFDuke3D does not start your own map at once with fake players.";
  return d;
}

CommandDialect RazeDialect(const std::vector<std::string>& program, const std::string& mainGroup) {
  CommandDialect d;
  // Without its game picker it must be told where the game's group file is.
  d.program = NoSetup(program);
  if (!mainGroup.empty()) d.program.insert(d.program.end(), {"-gamegrp", mainGroup});
  d.switchChar = '-';
  d.wholeArguments = true;
  d.level = CommandDialect::Level::kLabel;
  d.map = CommandDialect::Map::kFileThenName;
  d.group = CommandDialect::Group::kFile;
  d.sound = {{}, {"-nomusic"}, {"-nosfx"}, {"-nosound"}};
  d.cannotTake = {Of(Option::kSkills), Of(Option::kRespawn), Of(Option::kFakers),
                  Of(Option::kArtInt), Of(Option::kRecord),  Of(Option::kMonsters)};
  d.whyNot = "Raze cannot be told this from its command line: set it in Raze's own menus.";
  return d;
}

bool Takes(const CommandDialect& dialect, int option) {
  for (const int no : dialect.cannotTake) {
    if (no == option) return false;
  }
  return true;
}

std::vector<std::string> BuildCommandWords(const CommandDialect& dialect,
                                           const LaunchOptionsRecord& o, const std::string& stage,
                                           const std::string& userFile) {
  const std::string extension = text::Right(text::ToLower(stage), 4);
  const bool isUserFile = extension == ".map" || extension == ".grp";
  std::vector<std::string> words = dialect.program;
  const auto add = [&](const std::string& s) { words.push_back(dialect.switchChar + s); };
  const auto takes = [&](Option option) { return Takes(dialect, Of(option)); };
  if (o.Record == 1 && takes(Option::kRecord)) add("r");
  if (o.Monsters == 1 && takes(Option::kMonsters)) add("m");
  if (o.Sound >= 1 && static_cast<std::size_t>(o.Sound) < dialect.sound.size()) {
    for (const auto& word : dialect.sound[static_cast<std::size_t>(o.Sound)]) words.push_back(word);
  }
  if (takes(Option::kSkills)) add("s" + std::to_string(o.Skills + 1));
  // The game reads t1 as monsters, t2 items and t3 inventory, the list's
  // own positions; anything else after t is all three.
  if (takes(Option::kRespawn)) {
    if (o.Respawn == 4) {
      add("tx");
    } else if (o.Respawn != 0) {
      add("t" + std::to_string(o.Respawn));
    }
  }
  const bool heldMap = dialect.fakePlayersHoldAMap && extension == ".map";
  if (o.Fakers != 0 && takes(Option::kFakers) && !heldMap) add("q" + std::to_string(o.Fakers));
  if (o.ArtInt == 1 && takes(Option::kArtInt) && !heldMap) add("a");
  // Every built-in level, the first one too, is named: without it the game
  // opens its title screen and asks for the skill again.
  if (!isUserFile && dialect.level == CommandDialect::Level::kLabel) {
    // "1-01  Hollywood Holocaust" is E1L1.
    const std::string number = text::Mid(stage, 3, 2);
    const std::string level = number.size() == 2 && number[0] == '0' ? number.substr(1) : number;
    words.push_back("-map");
    words.push_back("E" + text::Left(stage, 1) + "L" + level);
  } else if (!isUserFile) {
    add("v" + text::Left(stage, 1));
    add("l" + text::Mid(stage, 3, 2));
  }
  const auto slash = platform::LastSeparator(userFile);
  const std::string folder =
      slash == std::string::npos ? std::string(".") : userFile.substr(0, slash == 0 ? 1 : slash);
  const std::string name = userFile.substr(slash == std::string::npos ? 0 : slash + 1);
  const auto searchPath = [&] {
    if (dialect.searchPathAttached) {
      words.push_back("-j" + folder);
    } else {
      words.insert(words.end(), {"-j", folder});
    }
  };
  if (extension == ".map") {
    switch (dialect.map) {
      case CommandDialect::Map::kSearchPath:
        // The port looks a map up in its search path with the leading
        // slashes cut off; the folder joins that path, ahead of the game's.
        searchPath();
        words.insert(words.end(), {"-map", name});
        break;
      case CommandDialect::Map::kFileThenName:
        words.insert(words.end(), {"-file", userFile, "-map", name});
        break;
      case CommandDialect::Map::kPath:
        words.push_back("-map");
        words.push_back(userFile);
        break;
    }
  }
  // The DOS game takes a group file only with its name attached to the
  // switch; a port takes it as the next argument, whatever it holds.
  if (extension == ".grp") {
    switch (dialect.group) {
      case CommandDialect::Group::kAttached:
        add("g" + userFile);
        break;
      case CommandDialect::Group::kNextWord:
        add("g");
        words.push_back(userFile);
        break;
      case CommandDialect::Group::kFile:
        words.push_back("-file");
        words.push_back(userFile);
        break;
      case CommandDialect::Group::kSearchPath:
        searchPath();
        add("g" + name);
        break;
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
