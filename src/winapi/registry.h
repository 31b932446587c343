// The registry: the real one on Windows; on POSIX systems a registry
// export file (REGEDIT4) that stands in for the user's part of it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

using HKey = std::uint64_t;
inline constexpr HKey kHkeyCurrentUser = 0x80000001u;

inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorInvalidParameter = 87;
inline constexpr std::int32_t kErrorMoreData = 234;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr std::uint32_t kRegCreatedNewKey = 1;
inline constexpr std::uint32_t kRegOpenedExistingKey = 2;

std::int32_t RegCreateKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                             std::uint32_t samDesired, HKey* result, std::uint32_t* disposition);
std::int32_t RegOpenKeyExA(HKey root, const std::string& subKey, std::uint32_t options,
                           std::uint32_t samDesired, HKey* result);
// data may be null: then only the type and the size are reported.
std::int32_t RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* dataSize);
std::int32_t RegSetValueExA(HKey key, const std::string& valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t dataSize);
std::int32_t RegCloseKey(HKey key);
inline constexpr std::int32_t kErrorNoMoreItems = 259;
// The name of the key's subkey at that place (as RegEnumKeyEx); kErrorNoMoreItems past the last.
std::int32_t RegEnumKeyExA(HKey key, std::uint32_t index, std::string* name);
// Takes a key away with every key below it (as RegDeleteTree).
std::int32_t RegDeleteTreeA(HKey root, const std::string& subKey);
// The file that holds the user's values where the registry is one (POSIX);
// empty where it is the system's own.
std::string SettingsStorePath();

#ifndef _WIN32
namespace posix {

// ${XDG_CONFIG_HOME:-$HOME/.config}/kestrum/user.reg
std::string RegistryFilePath();

// Replaces a file (where its links lead) with the content whole, or leaves
// it as it was: written to a file beside it and flushed, then renamed over
// it, keeping its mode and, where the process may, its owner. A file nobody
// may write to is not replaced. beforeReplace runs between the two steps,
// the worst moment for a crash.
bool ReplaceWhole(const std::string& target, const std::string& content,
                  const std::function<void()>& beforeReplace = {});

}  // namespace posix
#endif

}  // namespace platform
