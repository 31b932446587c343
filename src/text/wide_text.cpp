// Texts across to UTF-16 and back.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "text/wide_text.h"

namespace platform {

std::wstring Wide(const std::string& s, unsigned codePage) {
  if (s.empty()) return {};
  const int n =
      ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& s, unsigned codePage) {
  if (s.empty()) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

std::wstring Utf16(const std::string& utf8) {
  return Wide(utf8, CP_UTF8);
}
std::string Utf8(const std::wstring& utf16) {
  return Narrow(utf16, CP_UTF8);
}

}  // namespace platform
