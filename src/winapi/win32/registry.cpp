// The real registry.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstring>
#include <string>

#include "winapi/registry.h"
#include "text/wide_text.h"

namespace platform {

namespace {

HKEY ToHkey(HKey key) {
  if (key == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

HKey FromHkey(HKEY key) {
  return static_cast<HKey>(reinterpret_cast<ULONG_PTR>(key));
}

bool IsText(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

std::int32_t RegCreateKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t samDesired, HKey* result, std::uint32_t* disposition) {
  HKEY key = nullptr;
  DWORD how = 0;
  const LONG rc = ::RegCreateKeyExW(ToHkey(root), Utf16(subKey).c_str(), 0, nullptr, options,
                                    samDesired, nullptr, &key, &how);
  if (rc == ERROR_SUCCESS) {
    if (result != nullptr) *result = FromHkey(key);
    if (disposition != nullptr) *disposition = how;
  }
  return rc;
}

std::int32_t RegOpenKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                           std::uint32_t samDesired, HKey* result) {
  HKEY key = nullptr;
  const LONG rc = ::RegOpenKeyExW(ToHkey(root), Utf16(subKey).c_str(), options, samDesired, &key);
  if (rc == ERROR_SUCCESS && result != nullptr) *result = FromHkey(key);
  return rc;
}

// The names and the texts are kept as the W functions keep them, and read
// back as the A functions would give them, in UTF-8 instead of the ANSI
// code page: sizes in bytes of that text, its NUL included where stored.
std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize) {
  const std::wstring name = Utf16(valueName);
  DWORD t = 0;
  DWORD size = 0;
  LONG rc = ::RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &t, nullptr, &size);
  if (type != nullptr && rc == ERROR_SUCCESS) *type = t;
  if (rc != ERROR_SUCCESS) return rc;
  if (!IsText(t)) {
    size = dataSize != nullptr ? *dataSize : 0;
    rc = ::RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &t, data,
                            dataSize != nullptr ? &size : nullptr);
    if (dataSize != nullptr) *dataSize = size;
    return rc;
  }
  std::wstring wide(size / sizeof(wchar_t) + 1, L'\0');
  DWORD wideSize = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
  rc = ::RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &t,
                          reinterpret_cast<BYTE*>(wide.data()), &wideSize);
  if (rc != ERROR_SUCCESS) return rc;
  wide.resize(wideSize / sizeof(wchar_t));
  const std::string text = Utf8(wide);
  if (dataSize == nullptr) return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
  const auto needed = static_cast<std::uint32_t>(text.size());
  if (data != nullptr && *dataSize < needed) {
    *dataSize = needed;
    return ERROR_MORE_DATA;
  }
  if (data != nullptr) std::memcpy(data, text.data(), text.size());
  *dataSize = needed;
  return ERROR_SUCCESS;
}

std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t dataSize) {
  if (!IsText(type) || data == nullptr) {
    return ::RegSetValueExW(ToHkey(key), Utf16(valueName).c_str(), 0, type, data, dataSize);
  }
  const std::wstring wide = Utf16(std::string(reinterpret_cast<const char*>(data), dataSize));
  return ::RegSetValueExW(ToHkey(key), Utf16(valueName).c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(wide.data()),
                          static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
}

std::int32_t RegEnumKeyExA(HKey key, std::uint32_t index, std::string* name) {
  wchar_t buffer[256] = {};
  DWORD size = 256;
  const LONG rc =
      ::RegEnumKeyExW(ToHkey(key), index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS && name != nullptr) *name = Utf8(std::wstring(buffer, size));
  return rc;
}

std::int32_t RegDeleteTreeA(HKey root, const std::string& subKey) {
  return ::RegDeleteTreeW(ToHkey(root), Utf16(subKey).c_str());
}

std::int32_t RegCloseKey(HKey key) {
  return ::RegCloseKey(ToHkey(key));
}

std::string SettingsStorePath() {
  return {};
}

}  // namespace platform
