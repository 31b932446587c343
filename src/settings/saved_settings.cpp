#include "settings/saved_settings.h"

#include <array>
#include <cstdint>
#include <utility>

#include "app/launch_options.h"
#include "app/main_window_port.h"
#include "settings/numbers.h"
#include "settings/registry.h"

namespace {

// The order in which the values are read and written.
const std::array<std::pair<const char*, std::int16_t LaunchOptionsRecord::*>, 6> kOptionValues = {{
    {"Record", &LaunchOptionsRecord::Record},
    {"Monsters", &LaunchOptionsRecord::Monsters},
    {"Sound", &LaunchOptionsRecord::Sound},
    {"Skills", &LaunchOptionsRecord::Skills},
    {"Respawn", &LaunchOptionsRecord::Respawn},
    {"Fakers", &LaunchOptionsRecord::Fakers},
}};

// A stored value as a number: empty, or text that does not read as one, is 0.
double ReadNumber(const char* name) {
  ReadRegistryValue(SettingsKey, name);
  if (const auto* i = std::get_if<std::int32_t>(&RegistryValue)) return *i;
  if (const auto* s = std::get_if<std::string>(&RegistryValue)) {
    return numbers::Parse(*s).value_or(0.0);
  }
  return 0.0;
}

}  // namespace

void LoadSettings(MainWindowPort& window) {
  const double left = ReadNumber("FormX");
  if (window.ScreenWidth() > left) window.SetLeft(static_cast<float>(left));
  const double top = ReadNumber("FormY");
  if (window.ScreenHeight() > top) window.SetTop(static_cast<float>(top));
  for (const auto& [name, field] : kOptionValues) {
    // A number that does not fit in 16 bits is as unusable as a text.
    LaunchOptions.*field = numbers::ToInt16(ReadNumber(name)).value_or(0);
  }
}

void SaveSettings(const MainWindowPort& window) {
  WriteRegistryValue(SettingsKey, "FormX", static_cast<float>(window.Left()), platform::kRegSz);
  WriteRegistryValue(SettingsKey, "FormY", static_cast<float>(window.Top()), platform::kRegSz);
  for (const auto& [name, field] : kOptionValues) {
    WriteRegistryValue(SettingsKey, name, LaunchOptions.*field, platform::kRegSz);
  }
}
