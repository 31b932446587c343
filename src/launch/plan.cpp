#include "launch/plan.h"

#include <algorithm>
#include <cstring>

#include "dosbox/drives.h"
#include "launch/command_line.h"
#include "text/text.h"

namespace launch {

namespace {

// Whether a name reads as a level's label ("E1L1.MAP"), which Raze starts
// as that built-in level whatever file it names.
bool ReadsAsALevel(const std::string& name) {
  std::size_t at = 0;
  const auto digits = [&] {
    const std::size_t from = at;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9') ++at;
    return at > from;
  };
  const auto letter = [&](char c) {
    return at < name.size() && (name[at] == c || name[at] == c + ('a' - 'A')) && ++at;
  };
  return letter('E') && digits() && letter('L') && digits() &&
         (at == name.size() || name[at] == '.');
}

// The name a staged file goes by: its own where every program reads it
// alike and no folder the program looks in first holds one of that name,
// else one that is, with its extension.
std::string StagedName(const std::string& name, const std::vector<std::string>& looksFirstIn) {
  bool plain = !name.empty() && name[0] != '.' && name[0] != '-' && name.size() <= 64 &&
               !ReadsAsALevel(name);
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f || std::strchr("\\/:*?\"<>|%", c) != nullptr) plain = false;
  }
  const auto held = [&looksFirstIn](const std::string& candidate) {
    for (const auto& folder : looksFirstIn) {
      if (!platform::FindNormalFile(platform::InFolder(folder, candidate)).empty()) return true;
    }
    return false;
  };
  if (plain && !held(name)) return name;
  const auto dot = name.find_last_of('.');
  const std::string extension =
      dot == std::string::npos ? std::string() : text::ToLower(name.substr(dot));
  std::string staged = "usermap" + extension;
  for (int n = 2; held(staged) && n < 1000; ++n) {
    staged = "usermap" + std::to_string(n) + extension;
  }
  return staged;
}

}  // namespace

Plan MakePlan(const PlanInputs& in, const RunFolder* run) {
  Plan plan;
  plan.engine = in.engine;
  const EngineRow& row = RowOf(in.engine);
  plan.start = row.start;
  plan.workingFolder = platform::ProgramFolder();
  const std::string extension = text::Right(text::ToLower(in.stage), 4);
  const bool userFile = extension == ".map" || extension == ".grp";
  if (row.start == StartedBy::kCommandInterpreter) {
    CommandDialect dos = DosDialect();
    const ModWordsResult mod = ModWords(dos, in.mod);
    if (!mod.whyNot.empty()) {
      plan.refused = std::string(row.menuText) + " cannot take " + mod.whyNot;
      return plan;
    }
    dos.program.insert(dos.program.end(), mod.words.begin(), mod.words.end());
    plan.shown = in.mod.empty() ? BuildCommandLine(in.options, in.stage, in.dosPath, in.savedGame)
                                : std::string();
    // The same words go on to command.com or DOSBox, as command.com would
    // cut them at their blanks: the line is never flattened and cut again.
    for (const auto& word :
         BuildCommandWords(dos, in.options, in.stage, in.dosPath, in.savedGame)) {
      if (!in.mod.empty()) plan.shown += (plan.shown.empty() ? "" : " ") + word;
      for (auto& part : text::SplitWords(word)) plan.words.push_back(std::move(part));
    }
    return plan;
  }
  const FoundEngine* found = in.folder.Find(in.engine);
  if (found == nullptr) {
    plan.refused = std::string(row.menuText) + " is not in " + platform::ProgramFolder() + ".";
    return plan;
  }
  if (userFile && row.userFileStaged && !in.chosenFile.empty() && in.savedGame.empty()) {
    plan.run.file = in.chosenFile.text;
    plan.run.identity = in.chosenIdentity;
    plan.run.name = StagedName(in.chosenFile.Name(), LooksFirstIn(*found));
  }
  plan.run.gameLink =
      row.gameThroughRun && platform::system::LinksFolders() && !in.folder.mainGroup.empty();
  const std::string folder = run != nullptr ? run->folder : kStagedFolderShown;
  const std::string fileFolder = run != nullptr ? run->fileFolder : kStagedFolderShown;
  const std::string file =
      platform::InFolder(fileFolder, plan.run.file.empty() ? in.stage : plan.run.name);
  std::string mainGroup = in.folder.mainGroup;
  if (plan.run.gameLink) {
    // Found there as "./kestrum-game/DUKE3D.GRP", named so as no file
    // opens: nothing else ends with it, in any case.
    plan.workingFolder = folder;
    mainGroup = text::ToUpper(platform::system::kGameLink) + "/" +
                mainGroup.substr(platform::LastSeparator(mainGroup) + 1);
  }
  // A sandboxed program is granted the game's folder and the run's, the
  // folders of the mod's files to read, and its own folder to write in.
  plan.granted = {platform::ProgramFolder()};
  if (run != nullptr && plan.NeedsRun()) plan.granted.push_back(run->folder);
  for (const ModFileWords& file : in.mod) {
    const auto slash = platform::LastSeparator(file.hostPath);
    std::string folder =
        file.isFolder ? file.hostPath : file.hostPath.substr(0, slash == 0 ? 1 : slash);
    if (std::find(plan.granted.begin(), plan.granted.end(), folder) == plan.granted.end()) {
      plan.granted.push_back(std::move(folder));
    }
  }
  std::vector<std::string> writable;
  if (!in.ownFolder.empty()) writable.push_back(in.ownFolder);
  const ProgramStart program = ProgramWords(*found, plan.granted, writable);
  plan.refused = program.whyNot;
  CommandDialect dialect = row.dialect(program.words, mainGroup);
  if (!in.ownFolder.empty()) {
    for (const std::string& word : dialect.ownFolderWords) {
      if (word == "{game}") {
        dialect.program.push_back(platform::ProgramFolder());
      } else if (word.starts_with("{folder}")) {
        dialect.program.push_back(word.size() > 9 ? platform::InFolder(in.ownFolder, word.substr(9))
                                                  : in.ownFolder);
      } else {
        dialect.program.push_back(word);
      }
    }
    if (dialect.startsInOwnFolder) plan.workingFolder = in.ownFolder;
    plan.granted.insert(plan.granted.end(), writable.begin(), writable.end());
  }
  const ModWordsResult mod = ModWords(dialect, in.mod);
  if (!mod.whyNot.empty() && plan.refused.empty()) {
    plan.refused = std::string(row.menuText) + " cannot take " + mod.whyNot;
  }
  dialect.program.insert(dialect.program.end(), mod.words.begin(), mod.words.end());
  plan.words = BuildCommandWords(dialect, in.options, in.stage, file, in.savedGame);
  plan.shown = ShownCommandLine(plan.words);
  return plan;
}

}  // namespace launch
