// Every modal dialog the Win32 forms show goes through here, so that tests
// can answer them and see what was shown.
#pragma once

#include "win32/controls.h"

#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"

namespace win32::dialogs {

struct Request {
  enum class Kind { Message, OpenFile, ChooseFolder, ChooseFromList } kind = Kind::Message;
  std::string text;  // a message box's or a list's prompt
  std::string title;
  UINT style = 0;  // a message box's style
  // The Open dialog's: its folder, its filter as the dialog takes it
  // ("All Duke Nukem Files\0*.map;*.grp\0...\0\0") and its default extension.
  std::string directory;
  std::wstring filter;
  std::string defaultExtension;
  std::vector<std::string> items;  // a list's
};

// MessageBoxW with an OK button and the style's icon.
void MsgBox(HWND owner, const std::string& text, const std::string& title, UINT style);
// GetOpenFileNameW with the core's settings; the file chosen, or empty.
std::string ChooseFileToOpen(HWND owner, const OpenDialogSettings& settings,
                             const std::string& directory);
// The shell's folder dialog under that title, starting in that folder when
// it is one; the folder chosen, or empty.
std::string ChooseFolder(HWND owner, const std::string& title, const std::string& directory);
// A list to pick one item of, with OK and Cancel; the item's place, or -1.
int ChooseFromList(HWND owner, const std::string& title, const std::string& prompt,
                   const std::vector<std::string>& items);
// The filter in the form the common dialog takes it.
std::wstring Filter(const OpenDialogSettings& settings);

// With a hook set, no dialog is shown: the hook sees the request and gives
// the answer (the file name, for an Open dialog or a folder dialog; the
// place in decimal, for a list).
using Hook = std::function<std::string(const Request&)>;
void SetHookForTesting(Hook hook);

}  // namespace win32::dialogs
