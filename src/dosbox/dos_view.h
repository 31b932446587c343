// The DOS view DOSBox gets for one run of a command line, where no
// command.com is. Drive C: is the current (game) folder; each file the line
// names by a DOS path gets a drive of its own that holds that one file under
// its 8.3 name, so that the program gets "d:\mygrea~1.map" and no host name
// ever reaches DOSBox's shell. The rules are the same on every host; each
// system makes the drives in its own way (system.h).
#pragma once

#include <string>
#include <vector>

#include "dosbox/runner.h"

namespace platform::dosview {

// What keeps DOS from opening a file, said in the user's words.
enum class Trouble {
  kNone,
  kMissing,      // nothing there (a link that leads nowhere included)
  kNotAFile,     // a folder or a device file of the host
  kDevice,       // its DOS name is one of DOS's devices ("con.map")
  kCharacter,    // its DOS name holds a character DOS cannot open it by
  kAnotherFile,  // its DOS name names another file in its folder
  kPathTooLong,  // its DOS path is longer than DOS paths go
  kNoDosPath,    // some folder on its way has no DOS name
  kReplaced,     // its path now leads to another file than the one chosen
  kDenied,       // the user may not open it, or a folder on its way
};
struct FileTrouble {
  Trouble kind = Trouble::kNone;
  std::string fileName;  // as the user knows it
  std::string dosName;   // as DOS would name it
  char character = '\0';
};
// The text of the message box that tells the user.
std::string Describe(const FileTrouble& trouble);

// Why DOS could not open a file the user chose (its DOS path as chosen)
// by the short path Kestrum hands to the game (empty when there is none).
FileTrouble CheckChosenFile(const std::string& chosenPath, const std::string& shortPath);

using platform::ChosenFile;

struct Drive {
  char letter = 'c';
  std::string hostFolder;  // C: the current folder
  std::string hostFile;    // a file's drive: that file, shown as dosName
  std::string dosName;
  std::string identity;  // a file's drive: the file that hostFile was found to be
};
struct Plan {
  std::vector<Drive> drives;  // C: first
  std::string line;           // the line as DOSBox runs it
  std::string problem;        // not empty: what the user is told; nothing runs
};
// The view for a command line run from that host folder. Words that hold a
// DOS path ("c:\maps\mygrea~1.map", or "/gc:\maps\addon.grp" after a
// switch) are turned to the file's own drive. A chosen file the line names
// must still be the file that was chosen.
Plan MakePlan(const std::string& commandLine, const std::string& currentHostFolder,
              const std::vector<ChosenFile>& chosen = {});

// What the user is told when a chosen file that the line names is gone or
// another file now; empty when each is the file that was chosen.
std::string CheckChosenFiles(const std::string& commandLine, const std::vector<ChosenFile>& chosen);

// DOSBox's arguments (without the program itself): the drives mounted on
// those paths (C: first), C: entered, the line run, then exit.
std::vector<std::string> DosBoxArguments(const std::vector<Drive>& drives,
                                         const std::vector<std::string>& mountPaths,
                                         const std::string& line, bool fullScreen);

// What the user is told when DOSBox is not there, and how to get it.
std::string NotInstalledMessage(const std::string& program, const std::string& howToInstall);

}  // namespace platform::dosview
