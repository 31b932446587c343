#include "os/flatpak.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace platform::system {

namespace {

// Whether the bytes are UTF-8: Flatpak's option parser turns an argument
// into UTF-8 from the locale's encoding, and refuses one that is not.
bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t more = 0;
    if (c < 0x80) {
      more = 0;
    } else if (c >= 0xc2 && c <= 0xdf) {
      more = 1;
    } else if (c >= 0xe0 && c <= 0xef) {
      more = 2;
    } else if (c >= 0xf0 && c <= 0xf4) {
      more = 3;
    } else {
      return false;
    }
    if (i + more >= s.size() && more > 0) return false;
    // No overlong form, no surrogate, nothing past U+10FFFF.
    if (more > 0) {
      const auto next = static_cast<unsigned char>(s[i + 1]);
      if ((c == 0xe0 && next < 0xa0) || (c == 0xed && next >= 0xa0) || (c == 0xf0 && next < 0x90) ||
          (c == 0xf4 && next >= 0x90)) {
        return false;
      }
    }
    for (std::size_t k = 1; k <= more; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80) return false;
    }
    i += more + 1;
  }
  return true;
}

// The folders the sandbox holds of its own (the runtime's, the app's, its
// devices): a grant there is not shared with the host's.
bool Reserved(std::string_view path) {
  static constexpr std::array<std::string_view, 14> kOwn = {
      "/.flatpak-info", "/app", "/dev",   "/etc",   "/proc", "/run/flatpak", "/run/host",
      "/usr",           "/lib", "/lib32", "/lib64", "/bin",  "/sbin",        "/libx32"};
  for (const std::string_view own : kOwn) {
    if (path.starts_with(own) && (path.size() == own.size() || path[own.size()] == '/')) {
      return true;
    }
  }
  return path == "/";
}

}  // namespace

FlatpakGrant GrantToFlatpak(const std::string& hostPath, bool readOnly) {
  FlatpakGrant grant;
  if (hostPath.empty() || hostPath[0] != '/') {
    grant.whyNot = "it is not a full path";
    return grant;
  }
  if (!IsUtf8(hostPath)) {
    grant.whyNot = "Flatpak takes only names written in UTF-8";
    return grant;
  }
  // Flatpak refuses ".." and reads "." away: the folder granted would not
  // be the one named.
  for (std::size_t at = 0; at < hostPath.size();) {
    const std::size_t end = std::min(hostPath.find('/', at + 1), hostPath.size());
    const std::string_view part(hostPath.data() + at + 1, end - at - 1);
    if (part == ".." || part == ".") {
      grant.whyNot = "its path holds \"" + std::string(part) + "\"";
      return grant;
    }
    at = end;
  }
  if (Reserved(hostPath)) {
    grant.whyNot = "Flatpak keeps that folder for the sandbox's own";
    return grant;
  }
  grant.option = "--filesystem=";
  for (const char c : hostPath) {
    if (c == '\\' || c == ':') grant.option += '\\';
    grant.option += c;
  }
  grant.option += readOnly ? ":ro" : ":rw";
  return grant;
}

}  // namespace platform::system
