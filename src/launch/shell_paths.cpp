#include "launch/shell_paths.h"

#include "winapi/dos_paths.h"
#include "winapi/shell.h"
#include "text/text.h"

std::string ParsePath(const std::string& path, std::int16_t mode) {
  if (path.empty()) return {};
  if (mode < 2 && text::Mid(path, 2, 2) != ":\\") return {};
  const auto slash = path.find_last_of('\\');
  // Without any backslash there is no directory part: the whole path is the
  // file name and the directory is empty.
  const std::size_t k = slash == std::string::npos ? 0 : slash + 1;
  switch (mode) {
    case 0:
    case 2:
      return path.substr(k);
    case 1:
    case 3:
      return k == 0 ? std::string() : path.substr(0, k - 1);
    default:
      return {};
  }
}

std::string GetShortPath(const std::string& path) {
  char buffer[165] = {};
  const std::uint32_t n = platform::GetShortPathNameA(path, buffer, 164);
  // A short form that does not fit comes back as the size it would need,
  // with nothing written: that is no path either.
  if (n == 0 || n >= 164) return {};
  return std::string(buffer, n);
}

namespace {}  // namespace

void ShellOpen(const std::string& target) {
  platform::ShellOpen(target, platform::ProgramFolder());
}
