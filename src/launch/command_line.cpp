#include "launch/command_line.h"

#include <algorithm>

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
  return d;
}

// Its own start-up window would stand between the user and the game.
std::vector<std::string> NoSetup(std::vector<std::string> program) {
  program.push_back("-nosetup");
  return program;
}

}  // namespace

const CommandDialect& DosDialect() {
  static const CommandDialect dos = [] {
    CommandDialect d = DosSwitches({"command.com", "/c", "Duke3D"}, '/');
    d.save = CommandDialect::Save::kSlot;
    d.mod = {{"/g", "/g", ""},
             {"", "", "A zip file is a source port's; the DOS game takes groups (GRP)."},
             {"/x", "", "The DOS game takes one main script (CON) and no modules."},
             {"", "", "DEF files are a source port's; the DOS game does not read them."},
             {"", "", "The DOS game takes no folder of loose files."}};
    d.modAttached = true;
    d.ownFolderNote = "The DOS game keeps its settings and saved games in the game's folder.";
    return d;
  }();
  return dos;
}

CommandDialect PortDialect(const std::vector<std::string>& program, const std::string&) {
  CommandDialect d = DosSwitches(NoSetup(program), '-');
  d.wholeArguments = true;
  d.map = CommandDialect::Map::kSearchPath;
  d.group = CommandDialect::Group::kNextWord;
  d.mod = {
      {"-g", "-g", ""}, {"-g", "-g", ""}, {"-x", "-mx", ""}, {"-h", "-mh", ""}, {"-j", "-j", ""}};
  // It stays in the folder it starts in, which holds its settings and
  // saves; the game's folder is then on its search path.
  d.ownFolderWords = {"-usecwd", "-j", "{game}"};
  d.startsInOwnFolder = true;
  d.looseOverMod = {"GAME.CON", "USER.CON", "DEFS.CON", "EDUKE.CON"};
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
  d.save = CommandDialect::Save::kSlot;
  d.fakePlayersHoldAMap = true;
  d.whyNot = "JFDuke3D does not start your own map at once with fake players.";
  d.mod = {{"-g", "-g", ""},
           {"-g", "-g", ""},
           {"-x", "", "JFDuke3D takes one main script (CON) and no modules."},
           {"-h", "", "JFDuke3D takes one DEF file."},
           {"-j", "-j", ""}};
  d.modAttached = true;
  d.modByName = true;
  // Started in a folder that holds this file, it keeps its settings and
  // saves there.
  d.startsInOwnFolder = true;
  d.ownFolderMark = "user_profiles_disabled";
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
  d.save = CommandDialect::Save::kConsoleLoad;
  d.ownWords = {{Of(Option::kSound), {{}, {"-nomusic"}, {"-nosfx"}, {"-nosound"}}}};
  d.cannotTake = {Of(Option::kSkills), Of(Option::kRespawn), Of(Option::kFakers),
                  Of(Option::kArtInt), Of(Option::kRecord),  Of(Option::kMonsters)};
  d.whyNot = "Raze cannot be told this from its command line: set it in Raze's own menus.";
  d.mod = {{"-file", "-file", ""},
           {"-file", "-file", ""},
           {"-con", "-addcon", ""},
           {"-def", "-adddef", ""},
           {"-file", "-file", ""}};
  d.ownFolderWords = {"-savedir", "{folder}/saves", "-config", "{folder}/raze.ini"};
  return d;
}

ModPart ModPartOf(const std::string& path, bool isFolder) {
  if (isFolder) return ModPart::kFolder;
  const std::string extension = text::ToLower(path.substr(
      path.find_last_of('.') == std::string::npos ? path.size() : path.find_last_of('.')));
  if (extension == ".grp") return ModPart::kGroup;
  if (extension == ".zip" || extension == ".pk3") return ModPart::kZip;
  if (extension == ".con") return ModPart::kCon;
  if (extension == ".def") return ModPart::kDef;
  return ModPart::kUnknown;
}

std::string WhyNotModFile(const CommandDialect& dialect, ModPart part, int index) {
  const auto at = static_cast<std::size_t>(part);
  if (part == ModPart::kUnknown || at >= dialect.mod.size()) {
    return "It is none of a mod's parts: a group (GRP), a zip, a script (CON), a DEF file or a "
           "folder.";
  }
  const CommandDialect::ModSwitches& s = dialect.mod[at];
  const std::string& word = index == 0 ? s.first : s.more;
  if (!word.empty()) return {};
  return s.whyNot.empty() ? std::string("It takes only one of these.") : s.whyNot;
}

ModWordsResult ModWords(const CommandDialect& dialect, const std::vector<ModFileWords>& files) {
  ModWordsResult result;
  int seen[static_cast<int>(ModPart::kUnknown) + 1] = {};
  for (const ModFileWords& file : files) {
    const ModPart part = ModPartOf(file.hostPath, file.isFolder);
    const int index = seen[static_cast<int>(part)]++;
    const std::string name = file.hostPath.substr(platform::LastSeparator(file.hostPath) + 1);
    if (const std::string why = WhyNotModFile(dialect, part, index); !why.empty()) {
      if (result.whyNot.empty()) result.whyNot = "\"" + name + "\": " + why;
      continue;
    }
    const CommandDialect::ModSwitches& s = dialect.mod[static_cast<std::size_t>(part)];
    const std::string& word = index == 0 ? s.first : s.more;
    std::string path = dialect.switchChar == '/' ? file.dosPath : file.hostPath;
    if (dialect.modByName && part != ModPart::kFolder) {
      // Its folder first on the search path, then the file by its name.
      const auto slash = platform::LastSeparator(path);
      const std::string folder = path.substr(0, slash == 0 ? 1 : slash);
      result.words.push_back(dialect.searchPathAttached ? "-j" + folder : "-j");
      if (!dialect.searchPathAttached) result.words.push_back(folder);
      path = name;
    }
    if (dialect.modAttached) {
      result.words.push_back(word + path);
    } else {
      result.words.insert(result.words.end(), {word, path});
    }
  }
  return result;
}

bool Takes(const CommandDialect& dialect, int option) {
  for (const int no : dialect.cannotTake) {
    if (no == option) return false;
  }
  return true;
}

bool TakesWith(const CommandDialect& dialect, int option, const std::string& stage) {
  const mainwindow::OptionField* field = mainwindow::FieldOf(static_cast<Option>(option));
  const bool map = text::Right(text::ToLower(stage), 4) == ".map";
  return Takes(dialect, option) &&
         !(dialect.fakePlayersHoldAMap && map && field != nullptr && field->heldByAMap);
}

std::vector<std::string> BuildCommandWords(const CommandDialect& dialect,
                                           const LaunchOptionsRecord& o, const std::string& stage,
                                           const std::string& userFile,
                                           const std::string& savedGame) {
  const std::string extension = text::Right(text::ToLower(stage), 4);
  const bool isUserFile = extension == ".map" || extension == ".grp";
  std::vector<std::string> words = dialect.program;
  const auto add = [&](const std::string& s) { words.push_back(dialect.switchChar + s); };
  // Each option as its row says it, in the rows' order, or as the dialect
  // says it in words of its own; a value no control shows says nothing.
  for (const mainwindow::OptionField& field : mainwindow::OptionFields()) {
    const int option = Of(field.option);
    if (!TakesWith(dialect, option, stage)) continue;
    const int value = o.*field.field;
    const auto own = std::find_if(dialect.ownWords.begin(), dialect.ownWords.end(),
                                  [option](const auto& w) { return w.option == option; });
    if (own != dialect.ownWords.end()) {
      if (value >= 0 && static_cast<std::size_t>(value) < own->byValue.size()) {
        for (const auto& w : own->byValue[static_cast<std::size_t>(value)]) words.push_back(w);
      }
    } else {
      for (auto& w : text::SplitWords(field.switchFor(value))) add(w);
    }
  }
  // A saved game starts instead of any level or map: one named with it
  // would replace it.
  if (!savedGame.empty()) {
    if (dialect.save == CommandDialect::Save::kSlot) add(savedGame);
    if (dialect.save == CommandDialect::Save::kConsoleLoad) {
      words.insert(words.end(), {"+load", savedGame});
    }
    return words;
  }
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
                             const std::string& userFilePath, const std::string& savedGame) {
  std::string line;
  for (const auto& w : BuildCommandWords(DosDialect(), o, stage, userFilePath, savedGame)) {
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
