#include "settings/saved_settings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "base/launch_options.h"
#include "base/main_window.h"
#include "base/main_window_port.h"
#include "settings/numbers.h"
#include "settings/registry.h"
#include "winapi/registry.h"

namespace {

// A stored value as a number: empty, or text that does not read as one, is 0.
double ReadNumber(const char* name) {
  const std::optional<TaggedValue> value = RegistryValueOf(SettingsKey, name);
  if (!value) return 0.0;
  if (const auto* i = std::get_if<std::int32_t>(&*value)) return *i;
  if (const auto* s = std::get_if<std::string>(&*value)) {
    return numbers::Parse(*s).value_or(0.0);
  }
  return 0.0;
}

// Whether a window at that place could be moved by its title bar: enough of
// the bar's top strip lies on one of the screens.
bool TitleBarOnAScreen(const MainWindowPort& window, double left, double top) {
  constexpr double kGrip = 40 * 15;       // a width a pointer can take hold of
  constexpr double kBarHeight = 10 * 15;  // the part of the bar that must show
  for (const auto& screen : window.Screens()) {
    const double shownWidth =
        std::min(left + window.Width(), screen.left + screen.width) - std::max(left, screen.left);
    const double shownHeight =
        std::min(top + kBarHeight, screen.top + screen.height) - std::max(top, screen.top);
    if (shownWidth >= std::min(kGrip, window.Width()) && shownHeight >= kBarHeight) return true;
  }
  return false;
}

}  // namespace

std::string LoadEngineName() {
  const auto value = RegistryValueOf(SettingsKey, "Engine");
  const auto* text = value ? std::get_if<std::string>(&*value) : nullptr;
  return text != nullptr ? *text : std::string();
}

bool SaveEngineName(const std::string& name) {
  return WriteRegistryValue(SettingsKey, "Engine", name, platform::kRegSz);
}

void LoadSettings(MainWindowPort& window) {
  const double left = ReadNumber("FormX");
  const double top = ReadNumber("FormY");
  if (!window.KnowsItsPosition()) {
    // Where the window system places windows itself: nothing to restore.
  } else if (window.Screens().size() <= 1) {
    if (window.ScreenWidth() > left) window.SetLeft(static_cast<float>(left));
    if (window.ScreenHeight() > top) window.SetTop(static_cast<float>(top));
  } else if (TitleBarOnAScreen(window, left, top)) {
    // Several screens: the position of a window left on any of them comes
    // back; one whose title bar would lie off every screen (a screen taken
    // away since) would leave the window out of reach.
    window.SetLeft(static_cast<float>(left));
    window.SetTop(static_cast<float>(top));
  }
  for (const auto& saved : mainwindow::OptionFields()) {
    if (*saved.savedAs == '\0') continue;
    // A number that does not fit in 16 bits is as unusable as a text.
    LaunchOptions.*saved.field = numbers::ToInt16(ReadNumber(saved.savedAs)).value_or(0);
  }
}

bool SaveSettings(const MainWindowPort& window) {
  bool saved = true;
  // A position the window system made up is no position: the stored one
  // stays for the next run where there is one to restore.
  if (window.KnowsItsPosition()) {
    saved &= WriteRegistryValue(SettingsKey, "FormX", static_cast<float>(window.Left()),
                                platform::kRegSz);
    saved &= WriteRegistryValue(SettingsKey, "FormY", static_cast<float>(window.Top()),
                                platform::kRegSz);
  }
  for (const auto& option : mainwindow::OptionFields()) {
    if (*option.savedAs == '\0') continue;
    saved &= WriteRegistryValue(SettingsKey, option.savedAs, LaunchOptions.*option.field,
                                platform::kRegSz);
  }
  return saved;
}
