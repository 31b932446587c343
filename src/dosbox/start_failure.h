// Why a command line was not started, as data: the core says it in the
// user's words (launch/messages.h).
#pragma once

#include <cstddef>
#include <string>

namespace platform {

namespace dosview {

// What keeps DOS from opening a file.
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
  kUnlisted,     // its folder may not be listed: its DOS name cannot be known
};
struct FileTrouble {
  Trouble kind = Trouble::kNone;
  std::string fileName;  // as the user knows it
  std::string folder;    // kUnlisted: the folder (a host path)
  std::string dosName;   // as DOS would name it
  char character = '\0';
};

}  // namespace dosview

struct StartFailure {
  enum class Kind {
    kNone,
    kNothingToStart,
    kNotStarted,  // the program was found, and would not start
    kNoDosBox,
    kFile,               // a file the line names: file says why
    kTooManyFiles,       // more than DOS has drives for
    kShellCharacter,     // DOSBox's shell would read character in word
    kTailTooLong,        // the command tail is length bytes, DOS takes longest
    kNoPrivateFolder,    // neither the runtime folder nor fallbackFolder serves
    kDrivesNotMade,      // in folder
    kChangedWhileMade,   // fileName was replaced while its drive was made
    kNoShortFolderName,  // folder has no short name for DOSBox's mount
    kDosBoxNotStarted,
    kNotGranted,  // a sandboxed DOSBox cannot be let into folder: word says why
  };
  Kind kind = Kind::kNone;
  std::string program;  // the program the user would miss
  dosview::FileTrouble file;
  std::string word;
  char character = '\0';
  std::size_t length = 0, longest = 0;
  std::string folder;
  std::string fileName;
  std::string fallbackFolder;
  bool fallbackFromTmpdir = false;  // fallbackFolder is what TMPDIR names
  bool forAPort = false;            // what was prepared was a port's run, not DOSBox's drives

  explicit operator bool() const { return kind != Kind::kNone; }
};

}  // namespace platform
