// Any bytes as a configuration file: the reader must neither crash nor
// read out of bounds, and feeding the bytes in pieces must give the same
// answer as all at once.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "winapi/profile_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto whole = platform::profile::Find(bytes, "Setup", "SetupVersion");
  platform::profile::Lookup pieces("Setup", "SetupVersion");
  for (std::size_t i = 0; i < size; i += 7) pieces.Feed(bytes.substr(i, 7));
  if (pieces.Finish() != whole) std::abort();
  char buffer[255];
  platform::profile::CopyOut(whole.value_or(""), buffer, sizeof buffer);
  return 0;
}
