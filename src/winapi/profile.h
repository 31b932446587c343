// Profile (".ini") files, read as Windows reads them.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

std::uint32_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, char* buffer,
                                       std::uint32_t bufferSize, const std::string& fileName);

}  // namespace platform
