#include "launch/messages.h"

namespace launch {

namespace {

using platform::StartFailure;
using platform::dosview::Trouble;

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

std::string CharacterInWords(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x80) return "letters beyond plain ASCII";
  if (byte < 0x20 || byte == 0x7f) return "control characters";
  if (c == ' ') return "blanks";
  return Quoted(std::string(1, c));
}

// How to get DOSBox, where this system's users get it.
std::string HowToInstallDosBox() {
#ifdef _WIN32
  return " (from www.dosbox.com). Kestrum looked on PATH, in the game's folder and its DOSBOX "
         "folder, in the Program Files folders (DOSBox-0.74) and in the App Paths of the "
         "registry";
#else
  return " (on Debian or Ubuntu: sudo apt install dosbox). Kestrum looked on PATH for dosbox, "
         "dosbox-staging and dosbox-x, and in the game's DOSBOX folder";
#endif
}

// What a run had to have made before its start.
std::string Prepared(const StartFailure& f) {
  return f.forAPort ? "your file for the game" : "DOSBox's drives";
}

}  // namespace

std::string Describe(const platform::dosview::FileTrouble& t) {
  const std::string name = Quoted(t.fileName);
  switch (t.kind) {
    case Trouble::kNone:
      return {};
    case Trouble::kMissing:
      return name + " cannot be found.";
    case Trouble::kNotAFile:
      return name + " is not a file.";
    case Trouble::kDevice:
      return "DOS takes " + name + " for its device " + t.dosName.substr(0, t.dosName.find('.')) +
             ", not for a file. Rename the file and choose it again.";
    case Trouble::kCharacter:
      return "DOS cannot open " + name + ": DOS names cannot hold " +
             CharacterInWords(t.character) + ". Rename the file and choose it again.";
    case Trouble::kAnotherFile:
      return "In DOS, " + name + " is called " + t.dosName +
             ", and so is another file in its folder. Rename one of them and choose it again.";
    case Trouble::kPathTooLong:
      return "DOS cannot reach " + name +
             ": its DOS path is longer than 163 characters. Move it to a folder nearer the top "
             "and choose it again.";
    case Trouble::kDenied:
      return "You may not open " + name +
             " (or a folder on its way), so neither may the game. Choose a file you may read.";
    case Trouble::kReplaced:
      return name +
             " is no longer the file you chose: it was moved, deleted or replaced since. "
             "Choose it again.";
    case Trouble::kUnlisted:
      return "DOS cannot reach " + name + ": you may not list the folder that holds it (" +
             t.folder +
             "), so its DOS name cannot be known. Move it to a folder you may list and choose it "
             "again.";
    case Trouble::kNoDosPath:
      return "DOS cannot reach " + name +
             ": a folder on its way has no DOS name. Move it to another folder and choose it "
             "again.";
  }
  return {};
}

std::string Describe(const StartFailure& f) {
  using Kind = StartFailure::Kind;
  switch (f.kind) {
    case Kind::kNone:
      return {};
    case Kind::kNothingToStart:
      return "There is nothing to start.";
    case Kind::kNotStarted:
      return f.program + " could not be started.";
    case Kind::kNoDosBox:
      return "Kestrum runs " + f.program +
             " through DOSBox, which is not installed.\n\nInstall DOSBox" + HowToInstallDosBox() +
             " and try again.";
    case Kind::kFile:
      return Describe(f.file);
    case Kind::kTooManyFiles:
      return "The command line names more files than DOSBox can be given drives for (seven).";
    case Kind::kShellCharacter:
      return "DOSBox would read " + CharacterInWords(f.character) + " in " + Quoted(f.word) +
             " as commands of its own, so " + f.program + " was not started.";
    case Kind::kTailTooLong:
      return "The command line for " + f.program + " is " + std::to_string(f.length) +
             " characters long, and DOS takes " + std::to_string(f.longest) + ", so " + f.program +
             " was not started.";
    case Kind::kNoPrivateFolder:
      return "Kestrum has no folder of its own to prepare " + Prepared(f) +
             " in. Make sure the "
             "folder named by XDG_RUNTIME_DIR, or " +
             (f.fallbackFromTmpdir ? "the folder named by TMPDIR (" + f.fallbackFolder + ")"
                                   : f.fallbackFolder) +
             ", is yours and closed to others, and that its path holds only letters, digits and "
             "\"/._+-\".";
    case Kind::kDrivesNotMade:
      return "Kestrum could not prepare " + Prepared(f) + " in " + f.folder + ".";
    case Kind::kChangedWhileMade:
      return Quoted(f.fileName) + " changed while Kestrum prepared " + Prepared(f) + ". Try again.";
    case Kind::kNoShortFolderName:
      return "DOSBox cannot reach the folder " + f.folder + ": it has no short name.";
    case Kind::kDosBoxNotStarted:
      return "DOSBox could not be started.";
    case Kind::kNotGranted:
      return "DOSBox runs in Flatpak's sandbox, and Kestrum cannot let it into " + f.folder + ": " +
             f.word + ". Move the files to another folder and try again.";
  }
  return {};
}

}  // namespace launch
