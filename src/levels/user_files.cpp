#include "levels/user_files.h"

#include "base/main_window_port.h"
#include "launch/shell_paths.h"
#include "base/stage_list.h"
#include "dosbox/dos_view.h"
#include "launch/engine.h"
#include "launch/messages.h"
#include "winapi/dos_paths.h"
#include "text/text.h"

std::string UserFilePath;

namespace {

void ShowEntry(const std::string& entry, const std::string& longPath, MainWindowPort& window);

// The short path the DOS game is given for a file the host names, lower
// case as the game is given it; empty when DOS has none.
platform::DosShortPath ShortPathFor(const platform::HostPath& file) {
  return platform::DosShortPath{text::ToLower(GetShortPath(file.text))};
}

std::string WithoutExtension(const std::string& path) {
  return path.size() >= 4 ? path.substr(0, path.size() - 4) : std::string();
}

// The companion text of a file: same folder and name, extension ".txt",
// found by the file's real (long) name. Empty when there is none.
std::string FindCompanion(const std::string& longPath) {
  if (longPath.size() < 4) return {};
  const std::string wanted = WithoutExtension(longPath) + ".txt";
  const std::string found = platform::FindNormalFile(wanted);
  if (found.empty()) return {};
  const auto slash = platform::LastSeparator(wanted);
  return slash == std::string::npos ? found : wanted.substr(0, slash + 1) + found;
}

// Only a file that DOS can open by its short path is taken; any other
// changes nothing at all, and the user is told why.
std::optional<Message> TakeFile(const platform::HostPath& file, GameEngine engine,
                                StageList& stages) {
  if (launch::RowOf(engine).userFileStaged) {
    // A port opens the file through a link of its run: any name will do,
    // as long as it is a file the user may read.
    const platform::DosFile found = platform::LocateFile(file);
    const auto trouble = platform::dosview::CheckReadable(found, file.text);
    if (trouble.kind != platform::dosview::Trouble::kNone) {
      return NoDice(launch::Describe(trouble));
    }
    // No DOS name was looked for: the DOS game looks for one at launch.
    UserFilePath.clear();
    stages.SetChosenFile({file, found.identity});
    return std::nullopt;
  }
  const platform::DosShortPath shortPath = ShortPathFor(file);
  const auto trouble = platform::dosview::CheckChosenFile(file, shortPath);
  if (trouble.kind != platform::dosview::Trouble::kNone) {
    return NoDice(launch::Describe(trouble));
  }
  UserFilePath = shortPath.text;
  stages.SetChosenFile({file, platform::LocateFile(file).identity});
  return std::nullopt;
}

// The user entry: the short name the DOS game gets, or for a port, which
// has no need of one, the file's own name.
void ShowChosenFile(MainWindowPort& window, GameEngine engine) {
  if (!launch::RowOf(engine).userFileStaged) {
    return SetupFile(platform::DosShortPath{UserFilePath}, window, window.stages.ChosenFile().path);
  }
  const platform::HostPath& chosen = window.stages.ChosenFile().path;
  ShowEntry(text::ToLower(chosen.Name()), chosen.text, window);
}

}  // namespace

std::int16_t CheckValidFile(const std::string& fileName) {
  const std::string extension = text::Right(text::ToLower(fileName), 4);
  return (extension == ".map" || extension == ".grp") ? 1 : 0;
}

void SetupFile(const platform::DosShortPath& path, MainWindowPort& window,
               const platform::HostPath& chosen) {
  // The companion is looked for beside the file as it was chosen, when
  // there is one; otherwise beside the path itself.
  ShowEntry(ParsePath(path.text, 0), chosen.empty() ? path.text : chosen.text, window);
}

namespace {

void ShowEntry(const std::string& entry, const std::string& longPath, MainWindowPort& window) {
  // A path without a drive has no file-name part; an empty entry could never
  // be taken off the list again, so the list is left as it is.
  if (entry.empty()) return;
  StageList& stages = window.stages;
  if (text::Left(stages.List(0), 4) == "1-01") {
    stages.InsertItem(entry, 0);
  } else {
    stages.SetItemText(0, entry);
  }
  stages.SetListIndex(0);

  const std::string companion = FindCompanion(longPath);
  if (companion.empty()) {
    window.SetTextButtonEnabled(false);
    return;
  }
  window.SetTextButtonEnabled(true);
  std::string name = ParsePath(text::ToLower(GetShortPath(companion)), 0);
  if (name.empty()) name = WithoutExtension(entry) + ".txt";
  window.SetTextButtonToolTip("Read " + name);
}

}  // namespace

std::optional<Message> TakeChosenFile(const std::string& fileName, MainWindowPort& window,
                                      GameEngine engine) {
  // Tested as a drop is: maps of the DOS era are named in capitals, and a
  // file of another type is no map for the game.
  if (fileName.empty() || CheckValidFile(fileName) == 0) return std::nullopt;
  if (auto refused = TakeFile(platform::FromUser(fileName), engine, window.stages)) return refused;
  ShowChosenFile(window, engine);
  return std::nullopt;
}

std::optional<Message> TakeDroppedFiles(const std::vector<std::string>& fileNames,
                                        MainWindowPort& window, GameEngine engine) {
  if (fileNames.empty()) return std::nullopt;
  const std::string& first = fileNames.front();
  if (CheckValidFile(first) == 0) return std::nullopt;
  if (auto refused = TakeFile(platform::FromUser(first), engine, window.stages)) return refused;
  ShowChosenFile(window, engine);
  return std::nullopt;
}

void StagesKeyPress(StageList& stages, int keyAscii) {
  if (keyAscii != 8) return;
  const std::string extension = text::Right(stages.Text(), 4);
  if (extension == ".map" || extension == ".grp") {
    stages.RemoveItem(0);
    stages.SetListIndex(0);
  }
}

std::string CompanionTextPath(const StageList& stages) {
  const std::string companion = FindCompanion(stages.ChosenFile().path.text);
  if (!companion.empty()) return companion;
  return WithoutExtension(UserFilePath) + ".txt";
}
