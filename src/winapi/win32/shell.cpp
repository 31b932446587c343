// Opening a document or a URL: the real ShellExecute.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <shellapi.h>

#include "winapi/shell.h"
#include "text/wide_text.h"

namespace platform {

void ShellOpen(const std::string& target, const std::string& directory) {
  ::ShellExecuteA(nullptr, "Open", ToAnsi(target).c_str(), "", ToAnsi(directory).c_str(),
                  SW_SHOWNORMAL);
}

}  // namespace platform
