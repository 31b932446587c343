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
  std::vector<wchar_t> value(bufferSize > 0 ? bufferSize : 1, L'\0');
  const DWORD n = ::GetPrivateProfileStringW(Utf16(section).c_str(), Utf16(key).c_str(),
                                             Utf16(defaultValue).c_str(), value.data(), bufferSize,
                                             Utf16(fileName).c_str());
  return profile::CopyOut(Utf8(std::wstring(value.data(), n)), buffer, bufferSize);
}

}  // namespace platform
