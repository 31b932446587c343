#include "winapi/shell.h"

#include "os/posix/path_search.h"
#include "os/processes.h"
#include "winapi/dos_paths.h"

namespace platform {

void ShellOpen(const std::string& target, const std::string& directory) {
  if (target.empty()) return;
  // A URL has a scheme of two or more letters; anything else is a DOS path.
  const auto colon = target.find(':');
  bool isUrl = colon != std::string::npos && colon >= 2;
  for (std::size_t i = 0; isUrl && i < colon; ++i) {
    const char c = target[i];
    isUrl = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
            (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
  }
  const std::string opener = posix::FindOnPath("xdg-open");
  if (opener.empty()) return;
  const std::string argument = isUrl ? target : DosToHost(DosPath{target}).text;
  system::Start(opener, {"xdg-open", argument}, kSwShowNormal, {},
                DosToHost(DosPath{directory}).text);
}

}  // namespace platform
