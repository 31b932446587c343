#include "settings/registry.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <vector>

#include "settings/numbers.h"
#include "winapi/registry.h"

TaggedValue RegistryValue;

namespace {
std::int32_t ToInt32(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return 0;
  return static_cast<std::int32_t>(rounded);
}
}  // namespace

std::string NumberText(double value) {
  const auto single = static_cast<float>(value);
  if (std::isnan(single)) return "nan";
  if (std::isinf(single)) return single < 0 ? "-inf" : "inf";
  // The fewest decimals that read back as the same single-precision number,
  // in plain decimal form whatever the user's locale writes as its decimal
  // mark. (std::to_chars does the same, but brings 130 KB of tables into the
  // Windows program.)
  for (int places = 0; places <= 60; ++places) {
    char buffer[128];
    const int n = std::snprintf(buffer, sizeof buffer, "%.*f", places, static_cast<double>(single));
    if (n <= 0 || n >= static_cast<int>(sizeof buffer)) break;
    std::string text;
    bool marked = false;
    for (int i = 0; i < n; ++i) {
      const char c = buffer[i];
      if ((c >= '0' && c <= '9') || (c == '-' && i == 0)) {
        text += c;
      } else if (!marked) {
        text += '.';  // the locale's mark, of however many bytes, once
        marked = true;
      }
    }
    if (const auto back = numbers::Parse(text); back && static_cast<float>(*back) == single) {
      return text;
    }
  }
  return "0";
}

void MakeRegistryKey(const std::string& keyPath, platform::HKey root) {
  platform::HKey key = 0;
  std::uint32_t disposition = 0;
  if (platform::RegCreateKeyExA(root, keyPath, 0, kKeyRights, &key, &disposition) ==
      platform::kErrorSuccess) {
    platform::RegCloseKey(key);
  }
}

std::optional<TaggedValue> RegistryValueOf(const std::string& keyPath,
                                           const std::string& valueName) {
  platform::HKey key = 0;
  if (platform::RegOpenKeyExA(platform::kHkeyCurrentUser, keyPath, 0, kKeyRights, &key) !=
      platform::kErrorSuccess) {
    return std::nullopt;
  }
  TaggedValue value;
  const std::int32_t rc = FetchValueData(key, valueName, value);
  platform::RegCloseKey(key);
  if (rc != platform::kErrorSuccess) return std::nullopt;
  return value;
}

std::vector<std::string> RegistrySubKeys(const std::string& keyPath) {
  std::vector<std::string> names;
  platform::HKey key = 0;
  if (platform::RegOpenKeyExA(platform::kHkeyCurrentUser, keyPath, 0, kKeyRights, &key) !=
      platform::kErrorSuccess) {
    return names;
  }
  std::string name;
  for (std::uint32_t i = 0; platform::RegEnumKeyExA(key, i, &name) == platform::kErrorSuccess;
       ++i) {
    names.push_back(name);
  }
  platform::RegCloseKey(key);
  return names;
}

bool DeleteRegistryKey(const std::string& keyPath) {
  return platform::RegDeleteTreeA(platform::kHkeyCurrentUser, keyPath) == platform::kErrorSuccess;
}

void ReadRegistryValue(const std::string& keyPath, const std::string& valueName) {
  // A read that fails leaves the empty value, whatever it had read by then.
  RegistryValue = RegistryValueOf(keyPath, valueName).value_or(TaggedValue{});
}

bool WriteRegistryValue(const std::string& keyPath, const std::string& valueName,
                        const TaggedValue& value, std::uint32_t valueType) {
  platform::HKey key = 0;
  if (platform::RegOpenKeyExA(platform::kHkeyCurrentUser, keyPath, 0, kKeyRights, &key) !=
      platform::kErrorSuccess) {
    return false;  // the key is never created here
  }
  const bool stored = StoreValueData(key, valueName, valueType, value) == platform::kErrorSuccess;
  platform::RegCloseKey(key);
  return stored;
}

std::int32_t FetchValueData(platform::HKey key, const std::string& valueName, TaggedValue& value) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  std::int32_t rc = platform::RegQueryValueExA(key, valueName, &type, nullptr, &size);
  if (rc != platform::kErrorSuccess) return rc;
  switch (type) {
    case platform::kRegSz: {
      std::vector<std::uint8_t> buffer(size, 0);
      rc = platform::RegQueryValueExA(key, valueName, &type, buffer.data(), &size);
      if (rc == platform::kErrorSuccess) {
        const auto* chars = reinterpret_cast<const char*>(buffer.data());
        const std::size_t length = std::min<std::size_t>(size, buffer.size());
        value = std::string(chars, strnlen(chars, length));
      } else {
        value = std::monostate{};
      }
      return rc;
    }
    case platform::kRegDword: {
      // Windows reads a DWORD stored with fewer than four bytes from the
      // bytes there are, zero-extended; more than four would overrun them.
      std::uint8_t bytes[4] = {};
      if (size > 4) return platform::kErrorMoreData;
      rc = platform::RegQueryValueExA(key, valueName, &type, bytes, &size);
      if (rc == platform::kErrorSuccess) {
        std::uint32_t n = 0;
        for (std::uint32_t i = size; i-- > 0;) n = (n << 8) | bytes[i];
        value = static_cast<std::int32_t>(n);
      }
      return rc;
    }
    default:
      return kUnsupportedType;
  }
}

std::int32_t StoreValueData(platform::HKey key, const std::string& valueName,
                            std::uint32_t valueType, const TaggedValue& value) {
  if (valueType == platform::kRegSz) {
    std::string textForm;
    if (const auto* s = std::get_if<std::string>(&value)) {
      textForm = *s;
    } else if (const auto* i = std::get_if<std::int32_t>(&value)) {
      textForm = std::to_string(*i);
    } else if (const auto* h = std::get_if<std::int16_t>(&value)) {
      textForm = std::to_string(*h);
    } else if (const auto* f = std::get_if<float>(&value)) {
      textForm = NumberText(*f);
    }
    textForm += '\0';
    return platform::RegSetValueExA(key, valueName, platform::kRegSz,
                                    reinterpret_cast<const std::uint8_t*>(textForm.data()),
                                    static_cast<std::uint32_t>(textForm.size()));
  }
  if (valueType == platform::kRegDword) {
    std::int32_t n = 0;
    if (const auto* s = std::get_if<std::string>(&value)) {
      const auto parsed = numbers::Parse(*s);
      n = parsed ? ToInt32(*parsed) : 0;
    } else if (const auto* i = std::get_if<std::int32_t>(&value)) {
      n = *i;
    } else if (const auto* h = std::get_if<std::int16_t>(&value)) {
      n = *h;
    } else if (const auto* f = std::get_if<float>(&value)) {
      n = ToInt32(*f);
    }
    std::uint8_t bytes[4];
    std::memcpy(bytes, &n, 4);
    return platform::RegSetValueExA(key, valueName, platform::kRegDword, bytes, 4);
  }
  return platform::kErrorSuccess;
}
