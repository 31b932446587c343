// A thin layer over the registry: make sure a key exists, read one value,
// write one value. A read that fails leaves an empty result and a write
// that fails is dropped; only the write says whether it was stored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "winapi/registry.h"

// Empty, text, 32-bit integer, 16-bit integer or single-precision number.
using TaggedValue = std::variant<std::monostate, std::string, std::int32_t, std::int16_t, float>;

inline constexpr const char* SettingsKey = "Software\\Tolvane\\Kestrum\\General";
// Only the key rights (query, set, create subkey, enumerate, notify, link).
inline constexpr std::uint32_t kKeyRights = 0x3F;
inline constexpr std::int32_t kUnsupportedType = -1;

// The result of the last ReadRegistryValue.
extern TaggedValue RegistryValue;

void MakeRegistryKey(const std::string& keyPath, platform::HKey root);
void ReadRegistryValue(const std::string& keyPath, const std::string& valueName);
// The same read for a caller of the layer: the value, or nothing where the
// key or the value is missing or cannot be read. RegistryValue is left alone.
std::optional<TaggedValue> RegistryValueOf(const std::string& keyPath,
                                           const std::string& valueName);
// True when the value is stored; callers that do not ask lose nothing.
bool WriteRegistryValue(const std::string& keyPath, const std::string& valueName,
                        const TaggedValue& value, std::uint32_t valueType);

// The names of the keys right below a key; none where it is missing.
std::vector<std::string> RegistrySubKeys(const std::string& keyPath);
// Takes a key away with everything below it; false when it could not be.
bool DeleteRegistryKey(const std::string& keyPath);

std::int32_t FetchValueData(platform::HKey key, const std::string& valueName, TaggedValue& value);
std::int32_t StoreValueData(platform::HKey key, const std::string& valueName,
                            std::uint32_t valueType, const TaggedValue& value);

// A number as decimal text: whole numbers without a decimal point.
std::string NumberText(double value);
