#include "win32/frm_main.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/arguments.h"
#include "app/preset_sequences.h"
#include "os/win32/late_library.h"
#include "text/wide_text.h"
#include "win32/dialogs.h"

namespace {

// The program's arguments as UTF-8, as the system split them.
std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  const auto split = platform::system::LateFunction<decltype(::CommandLineToArgvW)>(
      L"shell32.dll", "CommandLineToArgvW");
  int count = 0;
  wchar_t** words = split != nullptr ? split(::GetCommandLineW(), &count) : nullptr;
  if (words == nullptr) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(platform::Utf8(words[i]));
  ::LocalFree(words);
  return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> arguments = Arguments();
  std::vector<const char*> argv;
  for (const auto& argument : arguments) argv.push_back(argument.c_str());
  if (const auto preset = PresetArgument(static_cast<int>(argv.size()), argv.data())) {
    // The game alone: no window of Kestrum's, no settings of the window's.
    const std::optional<Message> refused = mainform::StartPresetAlone(*preset);
    if (!refused) return 0;
    win32::dialogs::MsgBox(nullptr, refused->text, refused->title,
                           static_cast<UINT>(refused->style));
    return 1;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  frmMain window;
  if (!window.Form_Load()) return 0;
  return RunMessageLoop(window);
}
