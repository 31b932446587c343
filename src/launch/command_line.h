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
                             const std::string& userFilePath, const std::string& savedGame = {});

// How a game program is told the user's choices, as data: the builder walks
// the choices once and asks the dialect how each is said, or finds that it
// cannot be said to that program.
struct CommandDialect {
  std::vector<std::string> program;  // the words before the choices
  char switchChar = '/';             // what starts a switch
  bool wholeArguments = false;       // an argument vector (else a DOS tail cut at blanks)
  // A built-in level: "v#" and "l##" switches, or its label as "-map E1L1".
  enum class Level { kEpisodeAndLevel, kLabel } level = Level::kEpisodeAndLevel;
  // A user map: "-map PATH"; "-j FOLDER -map NAME" (found through the
  // program's search path, the folder holding the map alone); or
  // "-file PATH -map NAME" (added to its file system, then started).
  enum class Map { kPath, kSearchPath, kFileThenName } map = Map::kPath;
  // A group file: its name attached to "g" (the DOS game's "/gFILE"), "g"
  // and the next argument, "-file PATH", or its folder on the search path
  // and its name attached to "g" (a program that looks a group up by name).
  enum class Group { kAttached, kNextWord, kFile, kSearchPath } group = Group::kAttached;
  // A folder goes on the search path as "-jFOLDER" (else "-j FOLDER").
  bool searchPathAttached = false;
  // A saved game started at once: by its slot as a switch ("/3"), by the
  // console's "+load NAME", or not at all (it cannot be told).
  enum class Save { kNone, kSlot, kConsoleLoad } save = Save::kNone;
  // An option said in words of its own (not the DOS game's switch): the
  // words for each value.
  struct OwnWords {
    int option;  // a mainwindow::Option
    std::vector<std::vector<std::string>> byValue;
  };
  std::vector<OwnWords> ownWords;
  // The options it cannot be told: their controls are disabled while it is
  // the engine, and the line says nothing of them.
  std::vector<int> cannotTake;  // mainwindow::Option values
  // Why, in one sentence, for the controls' tool tips.
  std::string whyNot;
  // Fake players keep it from starting a user map at once: with a user map
  // it is told neither of them nor of their AI.
  bool fakePlayersHoldAMap = false;
  // How it takes each part of a mod (a ModPart's place): the switch for
  // the first file of that part and for each one after it; an empty switch
  // cannot take the file, and whyNot says why.
  struct ModSwitches {
    std::string first, more;
    std::string whyNot;
  };
  std::vector<ModSwitches> mod;
  bool modAttached = false;  // the file attached to its switch ("-gFILE")
  // A file by its name, its folder on the search path ahead of it (a
  // program that takes no path by its full name).
  bool modByName = false;
  // A folder of its own for its settings and saves: the words that tell it
  // ("{folder}" stands for the folder, "{game}" for the game's), and
  // whether it starts in that folder; that file made in it keeps it there.
  std::vector<std::string> ownFolderWords;
  bool startsInOwnFolder = false;
  std::string ownFolderMark;
  // What it does with its own folder where it cannot be told one.
  std::string ownFolderNote;
  // Files it reads from the game's folder in place of a mod's own, where
  // they lie there loose.
  std::vector<std::string> looseOverMod;
};

// The parts of a mod, as each file shows which it is.
enum class ModPart { kGroup, kZip, kCon, kDef, kFolder, kUnknown };
ModPart ModPartOf(const std::string& path, bool isFolder);
// A mod's file as the plan hands it on: the host path, and for the DOS
// game its short path.
struct ModFileWords {
  std::string hostPath;
  std::string dosPath;
  bool isFolder = false;
};
struct ModWordsResult {
  std::vector<std::string> words;
  std::string whyNot;  // naming the first file it cannot take; empty when it takes all
};
// The files in the dialect's words, in their order.
ModWordsResult ModWords(const CommandDialect& dialect, const std::vector<ModFileWords>& files);
// Why the dialect cannot take that file as the index-th of its part (0:
// the first); empty when it can.
std::string WhyNotModFile(const CommandDialect& dialect, ModPart part, int index);
const CommandDialect& DosDialect();
// Source ports, each at the path of its program (the words that start it),
// told the game's main group file where it needs it (as the plan names it:
// its path, or a name only it ends with).
CommandDialect PortDialect(const std::vector<std::string>& program,
                           const std::string& mainGroup = {});  // EDuke32
CommandDialect RazeDialect(const std::vector<std::string>& program,
                           const std::string& mainGroup = {});
CommandDialect JFDuke3DDialect(const std::vector<std::string>& program,
                               const std::string& mainGroup = {});
// Whether a dialect takes an option (a mainwindow::Option).
bool Takes(const CommandDialect& dialect, int option);
// Whether it is told the option with that stage (its fake players would
// hold a user map back).
bool TakesWith(const CommandDialect& dialect, int option, const std::string& stage);
// The same choices in a dialect's words; the user file as that program
// opens it (the DOS game: its short path; a port: the host path of a link
// in a folder of the run's own, which holds that link alone).
// With a saved game (its slot, or its name for the console), that starts
// instead of the stage.
std::vector<std::string> BuildCommandWords(const CommandDialect& dialect,
                                           const LaunchOptionsRecord& options,
                                           const std::string& stage, const std::string& userFile,
                                           const std::string& savedGame = {});
// An argument vector as a line to show (a word with blanks in quotes).
std::string ShownCommandLine(const std::vector<std::string>& words);
