// Any bytes as a settings file: the parser must neither crash nor read out
// of bounds, and what it reads must write back to a file that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "winapi/regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto file = platform::regfile::Parse(bytes);
  if (!file) return 0;
  const std::string written = platform::regfile::Write(*file);
  const auto again = platform::regfile::Parse(written);
  if (!again || platform::regfile::Write(*again) != written) std::abort();
  return 0;
}
