#include "presets/preset_plan.h"

#include <cstdio>

#include "dosbox/dos_view.h"
#include "launch/command_line.h"
#include "launch/launcher.h"
#include "launch/messages.h"
#include "launch/shell_paths.h"
#include "os/folders.h"
#include "text/text.h"
#include "winapi/dos_paths.h"

namespace presets {

namespace {

std::string NameOf(const std::string& path) {
  return platform::HostPath{path}.Name();
}

// The files a preset hands on, in order: an add-on's group first.
std::vector<ModFile> Handed(const Preset& preset) {
  std::vector<ModFile> files;
  if (!preset.mainGroup.path.empty()) files.push_back(preset.mainGroup);
  for (const auto& file : preset.files) {
    if (file.ticked) files.push_back(file);
  }
  return files;
}

// A folder's name any system takes, one for each preset name.
std::string FolderNameOf(const std::string& name) {
  std::string folder;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || (c == ' ' && !folder.empty()) || byte >= 0x80;
    if (plain) {
      folder += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      folder += escaped;
    }
  }
  return folder;
}

}  // namespace

bool IsFolder(const std::string& path) {
  return platform::LocateFile(platform::HostPath{path}).kind == platform::FileKind::kOther;
}

std::string PresetFolder(const Preset& preset) {
  const std::string own = platform::system::KestrumDataFolder();
  if (own.empty()) return {};
  return platform::InFolder(platform::InFolder(own, "presets"), FolderNameOf(preset.name));
}

std::string WhyEngineCannotTake(const Preset& preset, GameEngine engine) {
  const CommandDialect dialect = launch::RowOf(engine).dialect({}, {});
  int seen[static_cast<int>(ModPart::kUnknown) + 1] = {};
  for (const auto& file : Handed(preset)) {
    const ModPart part = ModPartOf(file.path, IsFolder(file.path));
    const int index = seen[static_cast<int>(part)]++;
    if (const std::string why = WhyNotModFile(dialect, part, index); !why.empty()) {
      return std::string(launch::RowOf(engine).menuText) + " cannot take \"" + NameOf(file.path) +
             "\": " + why;
    }
  }
  return {};
}

std::optional<GameEngine> PresetEngine(const Preset& preset, const launch::GameFolder& folder,
                                       std::string& whyNot) {
  if (const launch::EngineRow* own = launch::RowSavedAs(preset.engine)) {
    if (!folder.Has(own->id)) {
      whyNot = std::string(own->menuText) + ", the preset's game program, is not in " +
               platform::ProgramFolder() + ".";
      return std::nullopt;
    }
    whyNot = WhyEngineCannotTake(preset, own->id);
    if (!whyNot.empty()) return std::nullopt;
    return own->id;
  }
  for (const launch::EngineRow& row : launch::Engines()) {
    if (!folder.Has(row.id)) continue;
    const std::string why = WhyEngineCannotTake(preset, row.id);
    if (why.empty()) return row.id;
    if (whyNot.empty()) whyNot = why;
  }
  if (whyNot.empty()) whyNot = "There is no game program in " + platform::ProgramFolder() + ".";
  return std::nullopt;
}

std::optional<Message> AddPresetTo(const Preset& preset, launch::PlanInputs& in,
                                   std::vector<platform::ChosenFile>* dosFiles,
                                   bool prepareFolder) {
  const launch::EngineRow& row = launch::RowOf(in.engine);
  const bool dos = row.start == launch::StartedBy::kCommandInterpreter;
  const auto gone = [&preset](const std::string& path) {
    return NoDice("\"" + NameOf(path) + "\", a file of the preset \"" + preset.name +
                  "\", is not the file that was added: it was moved, deleted or replaced since. "
                  "Add it again in \"Edit presets...\".");
  };
  for (const ModFile& file : Handed(preset)) {
    const platform::HostPath path{file.path};
    const platform::DosFile now = platform::LocateFile(path);
    if (now.identity.empty() || now.identity != file.identity) return gone(file.path);
    ModFileWords words{file.path, {}, now.kind == platform::FileKind::kOther};
    if (dos && !words.isFolder) {
      const platform::DosShortPath shortPath{text::ToLower(GetShortPath(file.path))};
      const auto trouble = platform::dosview::CheckChosenFile(path, shortPath);
      if (trouble.kind != platform::dosview::Trouble::kNone) {
        return NoDice(launch::Describe(trouble));
      }
      words.dosPath = shortPath.text;
      if (dosFiles != nullptr) dosFiles->push_back({shortPath.text, now.identity, path});
    }
    in.mod.push_back(std::move(words));
  }
  const CommandDialect dialect = row.dialect({}, {});
  if (!dialect.ownFolderWords.empty() || dialect.startsInOwnFolder) {
    in.ownFolder = PresetFolder(preset);
    if (in.ownFolder.empty()) {
      return NoDice("Kestrum has no folder of its own to keep the preset's settings and saves in.");
    }
    if (const std::string why =
            prepareFolder ? launch::PrepareOwnFolder(in.ownFolder, in.engine) : std::string();
        !why.empty()) {
      return NoDice(why);
    }
  }
  return std::nullopt;
}

}  // namespace presets
