#include "os/win32/late_library.h"
#include "win32/dialogs.h"

#include <commdlg.h>

namespace win32::dialogs {

namespace {
Hook& TestHook() {
  static Hook hook;
  return hook;
}
}  // namespace

void SetHookForTesting(Hook hook) {
  TestHook() = std::move(hook);
}

void MsgBox(HWND owner, const std::string& text, const std::string& title, UINT style) {
  if (TestHook()) {
    Request r;
    r.text = text;
    r.title = title;
    r.style = style;
    TestHook()(r);
    return;
  }
  ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), style | MB_OK);
}

std::wstring Filter(const OpenDialogSettings& settings) {
  std::wstring filter;
  for (const auto& [description, patterns] : settings.filters) {
    filter += Wide(description) + L'\0' + Wide(patterns) + L'\0';
  }
  filter += L'\0';
  return filter;
}

std::string ChooseFileToOpen(HWND owner, const OpenDialogSettings& settings,
                             const std::string& directory) {
  if (TestHook()) {
    Request r;
    r.kind = Request::Kind::OpenFile;
    r.title = settings.title;
    r.directory = directory;
    r.filter = Filter(settings);
    r.defaultExtension = settings.defaultExtension;
    return TestHook()(r);
  }
  const std::wstring filter = Filter(settings);
  const std::wstring title = Wide(settings.title);
  const std::wstring extension = Wide(settings.defaultExtension);
  const std::wstring folder = Wide(directory);
  wchar_t file[MAX_PATH * 4] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = static_cast<DWORD>(std::size(file));
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  const auto open =
      platform::system::LateFunction<decltype(::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  if (open == nullptr || !open(&dialog)) return {};
  return Utf8(file);
}

}  // namespace win32::dialogs
