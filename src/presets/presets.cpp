#include "presets/presets.h"

#include <cstdio>

#include "base/main_window.h"
#include "settings/numbers.h"
#include "settings/registry.h"
#include "text/text.h"
#include "winapi/registry.h"

namespace presets {

namespace {

constexpr std::size_t kMostFiles = 256;
constexpr std::size_t kLongestName = 64;

std::string KeyPath(const std::string& name) {
  return std::string(kPresetsKey) + "\\" + KeyOf(name);
}

std::optional<std::string> Text(const std::string& key, const char* name) {
  const auto value = RegistryValueOf(key, name);
  if (!value) return std::nullopt;
  if (const auto* s = std::get_if<std::string>(&*value)) return *s;
  if (const auto* i = std::get_if<std::int32_t>(&*value)) return std::to_string(*i);
  return std::nullopt;
}

bool Write(const std::string& key, const std::string& name, const std::string& value) {
  return WriteRegistryValue(key, name, value, platform::kRegSz);
}

// A file's three values: its path, which file it was, whether it is ticked.
bool WriteFile(const std::string& key, const std::string& prefix, const ModFile& file) {
  bool stored = Write(key, prefix, file.path);
  stored &= Write(key, prefix + "Identity", file.identity);
  stored &= Write(key, prefix + "Ticked", file.ticked ? "1" : "0");
  return stored;
}

ModFile ReadFile(const std::string& key, const std::string& prefix) {
  ModFile file;
  file.path = Text(key, prefix.c_str()).value_or("");
  file.identity = Text(key, (prefix + "Identity").c_str()).value_or("");
  file.ticked = Text(key, (prefix + "Ticked").c_str()).value_or("1") != "0";
  return file;
}

// The preset kept under that key, or why it cannot be read.
std::optional<Preset> ReadPreset(const std::string& key, std::string& why) {
  Preset preset;
  const auto name = Text(key, "Name");
  if (!name || name->empty()) {
    why = "it has no name";
    return std::nullopt;
  }
  preset.name = *name;
  preset.engine = Text(key, "Engine").value_or("");
  preset.mainGroup = ReadFile(key, "MainGroup");
  const auto count = numbers::Parse(Text(key, "Files").value_or("0"));
  if (!count || *count < 0 || *count > static_cast<double>(kMostFiles) ||
      *count != static_cast<double>(static_cast<int>(*count))) {
    why = "its number of files is not one";
    return std::nullopt;
  }
  for (int i = 1; i <= static_cast<int>(*count); ++i) {
    ModFile file = ReadFile(key, "File" + std::to_string(i));
    if (file.path.empty()) {
      why = "its file " + std::to_string(i) + " is missing";
      return std::nullopt;
    }
    preset.files.push_back(std::move(file));
  }
  for (const auto& option : mainwindow::OptionFields()) {
    if (*option.savedAs == '\0') continue;
    const auto value =
        numbers::ToInt16(numbers::Parse(Text(key, option.savedAs).value_or("0")).value_or(0));
    preset.options.*option.field = value.value_or(0);
  }
  preset.stage = Text(key, "Stage").value_or("");
  preset.map = ReadFile(key, "Map");
  return preset;
}

}  // namespace

bool Preset::operator==(const Preset& other) const {
  bool same = name == other.name && engine == other.engine && mainGroup == other.mainGroup &&
              files == other.files && stage == other.stage && map == other.map;
  for (const auto& option : mainwindow::OptionFields()) {
    same = same && options.*option.field == other.options.*option.field;
  }
  return same;
}

std::string KeyOf(const std::string& name) {
  std::string key;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == '%' || c == '\\' || c == '[' || c == ']' || c == '"' || c == '/') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      key += escaped;
    } else {
      key += c;
    }
  }
  return key;
}

std::string WhyNotAName(const std::string& name, const std::vector<Preset>& others) {
  if (name.find_first_not_of(' ') == std::string::npos) return "A preset needs a name.";
  if (name.size() > kLongestName) {
    return "A preset's name has at most " + std::to_string(kLongestName) + " characters.";
  }
  for (const Preset& other : others) {
    if (text::EqualsNoCase(other.name, name)) {
      return "There is a preset called \"" + other.name + "\" already.";
    }
  }
  return {};
}

Stored LoadPresets() {
  Stored stored;
  for (const std::string& key : RegistrySubKeys(kPresetsKey)) {
    std::string why;
    if (auto preset = ReadPreset(std::string(kPresetsKey) + "\\" + key, why)) {
      stored.presets.push_back(std::move(*preset));
    } else {
      stored.damaged.push_back("The preset kept as \"" + key + "\" cannot be read: " + why +
                               ". The others are as they were.");
    }
  }
  return stored;
}

std::vector<std::string> PresetNames() {
  std::vector<std::string> names;
  for (const std::string& key : RegistrySubKeys(kPresetsKey)) {
    const auto name = Text(std::string(kPresetsKey) + "\\" + key, "Name");
    if (name && !name->empty()) names.push_back(*name);
  }
  return names;
}

std::optional<Preset> FindPreset(const std::string& name) {
  std::string why;
  if (RegistrySubKeys(kPresetsKey).empty()) return std::nullopt;
  auto preset = ReadPreset(KeyPath(name), why);
  if (preset && preset->name != name) return std::nullopt;
  return preset;
}

bool SavePreset(const Preset& preset) {
  const std::string key = KeyPath(preset.name);
  MakeRegistryKey(key, platform::kHkeyCurrentUser);
  bool stored = Write(key, "Name", preset.name);
  stored &= Write(key, "Engine", preset.engine);
  stored &= WriteFile(key, "MainGroup", preset.mainGroup);
  // The files first, then their number: a reader never counts one not yet
  // written.
  for (std::size_t i = 0; i < preset.files.size(); ++i) {
    stored &= WriteFile(key, "File" + std::to_string(i + 1), preset.files[i]);
  }
  stored &= Write(key, "Files", std::to_string(preset.files.size()));
  for (const auto& option : mainwindow::OptionFields()) {
    if (*option.savedAs == '\0') continue;
    stored &= Write(key, option.savedAs, std::to_string(preset.options.*option.field));
  }
  stored &= Write(key, "Stage", preset.stage);
  stored &= WriteFile(key, "Map", preset.map);
  return stored;
}

bool DeletePreset(const std::string& name) {
  return DeleteRegistryKey(KeyPath(name));
}

bool RenamePreset(const std::string& from, const std::string& to) {
  auto preset = FindPreset(from);
  if (!preset) return false;
  std::vector<Preset> others;
  for (Preset& p : LoadPresets().presets) {
    if (p.name != from) others.push_back(std::move(p));
  }
  if (!WhyNotAName(to, others).empty()) return false;
  preset->name = to;
  // Written under the new name before the old one goes: a failure loses
  // nothing.
  if (!SavePreset(*preset)) return false;
  return text::EqualsNoCase(from, to) || DeletePreset(from);
}

}  // namespace presets
