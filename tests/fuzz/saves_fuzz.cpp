// Any bytes as a saved game of each engine: no reader may crash, read out
// of bounds or run without end, and what it calls readable holds sane
// numbers.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "saves/inflate.h"
#include "saves/saves.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const auto& read : {saves::ReadGameSave, saves::ReadEDuke32Save, saves::ReadRazeSave}) {
    const saves::SaveInfo info = read(bytes);
    if (!info.readable && !info.name.empty()) std::abort();
  }
  if (const auto out = saves::Inflate(bytes, 4096); out && out->size() > 4096) std::abort();
  return 0;
}
