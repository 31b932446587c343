// Every modal dialog the Win32 forms show goes through here (a test answers
// them through the window's session instead).
#pragma once

#include "win32/controls.h"

#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"

namespace win32::dialogs {

// MessageBoxW with an OK button and the style's icon.
void MsgBox(HWND owner, const std::string& text, const std::string& title, UINT style);
// GetOpenFileNameW with the core's settings; the file chosen, or empty.
std::string ChooseFileToOpen(HWND owner, const OpenDialogSettings& settings,
                             const std::string& directory);
// The shell's folder dialog under that title, starting in that folder when
// it is one; the folder chosen, or empty.
std::string ChooseFolder(HWND owner, const std::string& title, const std::string& directory);
// A list to pick one item of, with OK and Cancel; the item's place, or -1.
// An item with a reason in greyed is drawn greyed and cannot be picked.
int ChooseFromList(HWND owner, const std::string& title, const std::string& prompt,
                   const std::vector<std::string>& items,
                   const std::vector<std::string>& greyed = {});
// A line of text with OK and Cancel, starting as given; empty when
// cancelled.
std::string AskText(HWND owner, const std::string& title, const std::string& prompt,
                    const std::string& text);
// The filter in the form the common dialog takes it.
std::wstring Filter(const OpenDialogSettings& settings);

}  // namespace win32::dialogs
