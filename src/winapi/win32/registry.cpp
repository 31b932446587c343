// The real registry.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

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

}  // namespace

std::int32_t RegCreateKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t samDesired, HKey* result, std::uint32_t* disposition) {
  HKEY key = nullptr;
  DWORD how = 0;
  const LONG rc = ::RegCreateKeyExA(ToHkey(root), ToAnsi(subKey).c_str(), 0, nullptr, options,
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
  const LONG rc = ::RegOpenKeyExA(ToHkey(root), ToAnsi(subKey).c_str(), options, samDesired, &key);
  if (rc == ERROR_SUCCESS && result != nullptr) *result = FromHkey(key);
  return rc;
}

std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize) {
  DWORD t = 0;
  DWORD size = dataSize != nullptr ? *dataSize : 0;
  const LONG rc = ::RegQueryValueExA(ToHkey(key), ToAnsi(valueName).c_str(), nullptr, &t, data,
                                     dataSize != nullptr ? &size : nullptr);
  if (type != nullptr) *type = t;
  if (dataSize != nullptr) *dataSize = size;
  return rc;
}

std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t dataSize) {
  return ::RegSetValueExA(ToHkey(key), ToAnsi(valueName).c_str(), 0, type, data, dataSize);
}

std::int32_t RegCloseKey(HKey key) {
  return ::RegCloseKey(ToHkey(key));
}

std::string SettingsStorePath() {
  return {};
}

}  // namespace platform
