// Raw access to the settings key, for the registry layer's tests on either
// kind of test fixture.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "settings/registry.h"
#include "winapi/registry.h"

namespace testsupport {

inline constexpr const char* kKey = "Software\\Tolvane\\Kestrum\\General";

template <class Base>
class RegistryFixture : public Base {
 protected:
  std::int32_t SetRaw(const std::string& name, std::uint32_t type, const std::string& bytes) {
    platform::HKey key = 0;
    EXPECT_EQ(platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key), 0);
    const auto rc = platform::RegSetValueExA(key, name, type,
                                             reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             static_cast<std::uint32_t>(bytes.size()));
    platform::RegCloseKey(key);
    return rc;
  }
  std::string RawData(const std::string& name, std::uint32_t* type) {
    platform::HKey key = 0;
    platform::RegOpenKeyExA(platform::kHkeyCurrentUser, kKey, 0, kKeyRights, &key);
    std::uint32_t size = 0;
    EXPECT_EQ(platform::RegQueryValueExA(key, name, type, nullptr, &size), 0);
    std::string data(size, '\0');
    EXPECT_EQ(platform::RegQueryValueExA(key, name, type,
                                         reinterpret_cast<std::uint8_t*>(data.data()), &size),
              0);
    platform::RegCloseKey(key);
    return data;
  }
};

}  // namespace testsupport
