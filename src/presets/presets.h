// Presets: a mod and what it needs (its files in order, its engine, its
// choices, its stage) kept under one name in the settings store, each in a
// key of its own ("Presets\<name>"), so that saving one never touches
// another.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/launch_options.h"

namespace presets {

// A file of a mod, in the order the engine is to load it.
struct ModFile {
  std::string path;      // a host path (a folder, for a folder of loose files)
  std::string identity;  // which file it was when added
  bool ticked = true;    // handed to the engine
  bool operator==(const ModFile&) const = default;
};

struct Preset {
  std::string name;
  std::string engine;  // an engine's stored name; empty: the first found that takes it
  ModFile mainGroup;   // an official add-on's group; an empty path: the game's own
  std::vector<ModFile> files;
  LaunchOptionsRecord options{};
  std::string stage;  // as the stage list shows it; empty: the first level
  ModFile map;        // the user's map, where the stage is one
  bool operator==(const Preset& other) const;
};

inline constexpr const char* kPresetsKey = "Software\\Tolvane\\Kestrum\\Presets";

// Every preset stored, by name in the store's order, and a sentence for
// each one that could not be read (it is left where it is).
struct Stored {
  std::vector<Preset> presets;
  std::vector<std::string> damaged;
};
Stored LoadPresets();
// Their names alone, in the same order (a menu's worth of reading).
std::vector<std::string> PresetNames();
std::optional<Preset> FindPreset(const std::string& name);
// Writes one preset whole, under its name; false when some value could not
// be stored.
bool SavePreset(const Preset& preset);
bool DeletePreset(const std::string& name);
// False when the new name is taken or the preset could not be moved.
bool RenamePreset(const std::string& from, const std::string& to);
// Why a name cannot be a preset's (empty, too long, taken); empty when it can.
std::string WhyNotAName(const std::string& name, const std::vector<Preset>& others);

// The key a name is kept under: the registry takes no "\" in a key's name,
// and compares names without regard to case; the name itself is kept in
// the key.
std::string KeyOf(const std::string& name);

}  // namespace presets
