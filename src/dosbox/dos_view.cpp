#include "dosbox/dos_view.h"

#include "dos/dos_names.h"
#include "winapi/dos_paths.h"
#include "dosbox/runner.h"
#include "os/folders.h"
#include "text/text.h"

namespace platform::dosview {

namespace {

// DOS keeps a program's command tail in 127 bytes, with its closing return.
constexpr std::size_t kLongestTail = 126;
// How many -c commands every DOSBox runs.
constexpr std::size_t kMostCommands = 11;

std::string LastComponent(const std::string& dosPath) {
  const auto slash = dosPath.find_last_of("\\/");
  return slash == std::string::npos ? dosPath : dosPath.substr(slash + 1);
}

// An 8.3 name: a base of one to eight characters and at most one dot with up
// to three after it.
bool Is83(const std::string& name) {
  const auto dot = name.find('.');
  const std::size_t base = dot == std::string::npos ? name.size() : dot;
  if (base == 0 || base > 8) return false;
  if (dot == std::string::npos) return true;
  const std::string extension = name.substr(dot + 1);
  return extension.size() <= 3 && extension.find('.') == std::string::npos;
}

// What is wrong with the name a file would be opened by in DOS.
FileTrouble CheckDosName(const std::string& fileName, const std::string& dosName) {
  FileTrouble trouble;
  trouble.fileName = fileName;
  trouble.dosName = text::ToUpper(dosName);
  if (const char c = dos::UnopenableCharacter(dosName); c != '\0') {
    trouble.kind = Trouble::kCharacter;
    trouble.character = c;
  } else if (dos::IsDeviceName(dosName)) {
    trouble.kind = Trouble::kDevice;
  } else if (!Is83(dosName)) {
    trouble.kind = Trouble::kNoDosPath;
  }
  return trouble;
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool DriveAt(const std::string& word, std::size_t at) {
  return at + 3 <= word.size() && IsLetter(word[at]) && word[at + 1] == ':' && word[at + 2] == '\\';
}

// Where a DOS path begins in a word: at its start, or after a switch whose
// file name is attached to it ("/gc:\..."). npos when the word holds none.
std::size_t DosPathStart(const std::string& word) {
  if (DriveAt(word, 0)) return 0;
  if (word.empty() || (word[0] != '/' && word[0] != '-')) return std::string::npos;
  for (std::size_t at = 1; at < word.size() && IsLetter(word[at]); ++at) {
    if (at >= 2 && DriveAt(word, at)) return at;
  }
  return std::string::npos;
}

}  // namespace

FileTrouble CheckReadable(const DosFile& file, const std::string& path) {
  FileTrouble trouble;
  trouble.fileName = file.name.empty() ? LastComponent(path) : file.name;
  if (file.kind == FileKind::kMissing) {
    trouble.kind = Trouble::kMissing;
  } else if (file.kind == FileKind::kDenied || (file.kind == FileKind::kFile && !file.readable)) {
    trouble.kind = Trouble::kDenied;
  } else if (file.kind == FileKind::kOther) {
    trouble.kind = Trouble::kNotAFile;
  }
  return trouble;
}

FileTrouble CheckChosenFile(const HostPath& chosenPath, const DosShortPath& shortPath) {
  const DosFile chosen = LocateFile(chosenPath);
  FileTrouble trouble = CheckReadable(chosen, chosenPath.text);
  if (trouble.kind != Trouble::kNone) return trouble;
  if (shortPath.empty()) {
    const std::size_t cut = LastSeparator(chosen.hostPath);
    const std::string folder = cut == 0 ? std::string("/") : chosen.hostPath.substr(0, cut);
    if (!system::CanList(folder)) {
      trouble.kind = Trouble::kUnlisted;
      trouble.folder = folder;
      return trouble;
    }
    // The size the short path would need, when there is one at all.
    trouble.kind = GetShortPathNameA(chosenPath.text, nullptr, 0) > 0 ? Trouble::kPathTooLong
                                                                      : Trouble::kNoDosPath;
    return trouble;
  }
  // The file's own 8.3 name, not the short path's text cut at its last
  // backslash: a host name may hold one.
  std::string dosName = text::ToUpper(ShortNameOf(chosen.hostPath));
  if (dosName.empty()) dosName = text::ToUpper(LastComponent(shortPath.text));
  // What DOS cannot open by that name is said first: it is the reason, and a
  // name cut at a character DOS cannot hold would lead to another file.
  trouble = CheckDosName(trouble.fileName, dosName);
  if (trouble.kind != Trouble::kNone) return trouble;
  // In its own folder that name must lead to the file: the game's drive
  // shows the file by it, and a program run directly looks it up there.
  const std::size_t cut = LastSeparator(chosen.hostPath);
  const std::string folder = cut == 0 ? std::string("/") : chosen.hostPath.substr(0, cut);
  if (LocateDosFile(DosNameIn(HostPath{folder}, dosName)).identity != chosen.identity) {
    trouble.kind = Trouble::kAnotherFile;
    trouble.dosName = dosName;
  }
  return trouble;
}

namespace {

// The file a DOS path in a line leads to now, and what keeps DOS from
// opening it as the file the user chose.
struct Located {
  DosFile file;
  FileTrouble trouble;
};
Located Locate(const std::string& path, const std::vector<ChosenFile>& chosen) {
  // A file the user chose is found where it was chosen: its DOS path is
  // only what the game is told, and read back it may lead elsewhere.
  const ChosenFile* mine = nullptr;
  for (const auto& c : chosen) {
    if (text::EqualsNoCase(c.dosPath, path) && !c.hostPath.empty()) mine = &c;
  }
  const std::string where = mine != nullptr ? mine->hostPath.text : path;
  Located at{mine != nullptr ? LocateFile(mine->hostPath) : LocateDosFile(DosPath{path}), {}};
  at.trouble = CheckReadable(at.file, where);
  if (at.trouble.kind == Trouble::kNone) {
    at.trouble = CheckDosName(at.trouble.fileName, LastComponent(path));
  }
  for (const auto& c : chosen) {
    if (at.trouble.kind == Trouble::kNone && text::EqualsNoCase(c.dosPath, path) &&
        c.identity != at.file.identity) {
      at.trouble.kind = Trouble::kReplaced;
    }
  }
  return at;
}

}  // namespace

FileTrouble CheckChosenFiles(const std::string& commandLine,
                             const std::vector<ChosenFile>& chosen) {
  return CheckChosenFiles(text::SplitWords(commandLine), chosen);
}

FileTrouble CheckChosenFiles(const std::vector<std::string>& words,
                             const std::vector<ChosenFile>& chosen) {
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::size_t start = DosPathStart(words[i]);
    if (start == std::string::npos) continue;
    const std::string path = words[i].substr(start);
    for (const auto& c : chosen) {
      if (!text::EqualsNoCase(c.dosPath, path)) continue;
      Located at = Locate(path, chosen);
      // Run directly, the program reads the DOS path itself: it must lead
      // to the very file chosen, not to another that DOS names alike.
      if (at.trouble.kind == Trouble::kNone &&
          LocateDosFile(DosPath{path}).identity != c.identity) {
        at.trouble.kind = Trouble::kAnotherFile;
        at.trouble.dosName = text::ToUpper(LastComponent(path));
      }
      if (at.trouble.kind != Trouble::kNone) return at.trouble;
    }
  }
  return {};
}

Plan MakePlan(const std::string& commandLine, const std::string& currentHostFolder,
              const std::vector<ChosenFile>& chosen) {
  return MakePlan(text::SplitWords(commandLine), currentHostFolder, chosen);
}

Plan MakePlan(const std::vector<std::string>& lineWords, const std::string& currentHostFolder,
              const std::vector<ChosenFile>& chosen) {
  Plan plan;
  plan.drives.push_back(Drive{'c', currentHostFolder, {}, {}, {}});
  auto words = lineWords;
  std::vector<std::string> identities;
  for (std::size_t i = 1; i < words.size(); ++i) {
    std::string& word = words[i];
    const std::size_t start = DosPathStart(word);
    if (start == std::string::npos) continue;
    const std::string path = word.substr(start);
    const Located at = Locate(path, chosen);
    if (at.trouble.kind != Trouble::kNone) {
      plan.failure.kind = StartFailure::Kind::kFile;
      plan.failure.file = at.trouble;
      return plan;
    }
    const DosFile& file = at.file;
    // One drive a file, however often the line names it.
    std::size_t drive = 0;
    while (drive < identities.size() && identities[drive] != file.identity) ++drive;
    if (drive == identities.size()) {
      const char letter = static_cast<char>('d' + identities.size());
      // DOSBox 0.74 and DOSBox-X run eleven -c commands and drop the rest
      // without a word: the mounts, "c:", the line and "exit" must fit.
      if (plan.drives.size() + 3 >= kMostCommands) {
        plan.failure.kind = StartFailure::Kind::kTooManyFiles;
        return plan;
      }
      identities.push_back(file.identity);
      plan.drives.push_back(
          Drive{letter, {}, file.hostPath, text::ToUpper(LastComponent(path)), file.identity});
    }
    word = word.substr(0, start) + plan.drives[drive + 1].letter + ":\\" + LastComponent(path);
  }

  std::string line;
  for (const auto& w : words) line += (line.empty() ? "" : " ") + w;
  // The program the user would miss: the one command.com is told to run.
  const bool throughCommandCom = words.size() >= 3 && text::EqualsNoCase(words[0], "command.com") &&
                                 text::EqualsNoCase(words[1], "/c");
  const std::string program = words.empty() ? std::string() : words[throughCommandCom ? 2 : 0];
  for (const auto& w : words) {
    if (const char c = dos::ShellCharacter(w); c != '\0') {
      plan.failure.kind = StartFailure::Kind::kShellCharacter;
      plan.failure.program = program;
      plan.failure.word = w;
      plan.failure.character = c;
      return plan;
    }
  }
  std::string tail;
  for (std::size_t i = throughCommandCom ? 3 : 1; i < words.size(); ++i) tail += " " + words[i];
  if (tail.size() > kLongestTail) {
    plan.failure.kind = StartFailure::Kind::kTailTooLong;
    plan.failure.program = program;
    plan.failure.length = tail.size();
    plan.failure.longest = kLongestTail;
    return plan;
  }
  plan.line = line;
  return plan;
}

std::vector<std::string> DosBoxArguments(const std::vector<Drive>& drives,
                                         const std::vector<std::string>& mountPaths,
                                         const std::string& line, bool fullScreen) {
  // A user's own autoexec must not mount C: first. DOSBox-X would first ask
  // for a working folder in a dialog; 0.74 ignores the switch that stops it,
  // Staging warns of it and goes on.
  std::vector<std::string> args{"-noautoexec", "-nopromptfolder"};
  if (fullScreen) args.push_back("-fullscreen");
  auto command = [&](const std::string& c) {
    args.push_back("-c");
    args.push_back(c);
  };
  for (std::size_t i = 0; i < drives.size() && i < mountPaths.size(); ++i) {
    command(std::string("mount ") + drives[i].letter + " " + mountPaths[i]);
  }
  command("c:");
  command(line);
  command("exit");
  return args;
}

}  // namespace platform::dosview
