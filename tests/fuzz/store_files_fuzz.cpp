// Any bytes as a store's or launcher's list file: each reader must neither
// crash nor read out of bounds, and what it gives is never empty text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "stores/store_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const auto& read : {stores::SteamLibraries, stores::HeroicInstallPaths,
                           stores::LutrisGameFolders}) {
    for (const auto& path : read(bytes)) {
      if (path.empty()) std::abort();
    }
  }
  (void)stores::DesktopEntryPath(bytes);
  return 0;
}
