// The DOS view DOSBox gets for one run of a command line, where no
// command.com is. Drive C: is the current (game) folder; each file the line
// names by a DOS path gets a drive of its own that holds that one file under
// its 8.3 name, so that the program gets "d:\mygrea~1.map" and no host name
// ever reaches DOSBox's shell. The rules are the same on every host; each
// system makes the drives in its own way (drives.h).
#pragma once

#include <string>
#include <vector>

#include "dosbox/runner.h"
#include "dosbox/start_failure.h"
#include "winapi/dos_paths.h"

namespace platform::dosview {

// Why no program could read the file a path leads to: missing, not a file,
// or one this user may not read (kNone when it can be read).
FileTrouble CheckReadable(const DosFile& file, const std::string& path);

// Why DOS could not open a file the user chose (its DOS path as chosen)
// by the short path Kestrum hands to the game (empty when there is none).
FileTrouble CheckChosenFile(const HostPath& chosenPath, const DosShortPath& shortPath);

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
  StartFailure failure;       // set: nothing runs
};
// The view for a command line run from that host folder. Words that hold a
// DOS path ("c:\maps\mygrea~1.map", or "/gc:\maps\addon.grp" after a
// switch) are turned to the file's own drive. A chosen file the line names
// must still be the file that was chosen.
Plan MakePlan(const std::vector<std::string>& words, const std::string& currentHostFolder,
              const std::vector<ChosenFile>& chosen = {});
// The same for a line, cut at its blanks as command.com cuts it.
Plan MakePlan(const std::string& commandLine, const std::string& currentHostFolder,
              const std::vector<ChosenFile>& chosen = {});

// Why a chosen file that the line names cannot be given to a program that
// reads the line's DOS paths itself (it is gone, another file now, or its
// DOS path leads to another); kNone when each is the file that was chosen.
FileTrouble CheckChosenFiles(const std::vector<std::string>& words,
                             const std::vector<ChosenFile>& chosen);
FileTrouble CheckChosenFiles(const std::string& commandLine, const std::vector<ChosenFile>& chosen);

// DOSBox's arguments (without the program itself): the drives mounted on
// those paths (C: first), C: entered, the line run, then exit.
std::vector<std::string> DosBoxArguments(const std::vector<Drive>& drives,
                                         const std::vector<std::string>& mountPaths,
                                         const std::string& line, bool fullScreen);

}  // namespace platform::dosview
