// Profile files through the real API.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <string>
#include <vector>

#include "winapi/profile.h"
#include "winapi/profile_rules.h"
#include "text/wide_text.h"

namespace platform {

std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, char* buffer,
                                       std::uint32_t bufferSize, const std::string& fileName) {
  std::vector<char> ansi(bufferSize > 0 ? bufferSize : 1, '\0');
  const DWORD n = ::GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                             ToAnsi(defaultValue).c_str(), ansi.data(), bufferSize,
                                             ToAnsi(fileName).c_str());
  return profile::CopyOut(FromAnsi(std::string(ansi.data(), n)), buffer, bufferSize);
}

}  // namespace platform
