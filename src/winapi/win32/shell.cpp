// Opening a document or a URL: the real ShellExecute.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <shellapi.h>

#include "os/win32/late_library.h"
#include "winapi/shell.h"
#include "text/wide_text.h"

namespace platform {

void ShellOpen(const std::string& target, const std::string& directory) {
  const auto open =
      system::LateFunction<decltype(::ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  if (open == nullptr) return;
  open(nullptr, L"open", Utf16(target).c_str(), L"", Utf16(directory).c_str(), SW_SHOWNORMAL);
}

}  // namespace platform
