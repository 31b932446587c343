// The registry as text: the REGEDIT4 export format of the Windows registry
// editor, read and written so that either side could import the other's file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::regfile {

struct Value {
  std::string name;  // empty: the key's default value ("@")
  std::uint32_t type = 0;
  std::string data;  // the raw bytes
};

struct Key {
  std::string path;  // "HKEY_CURRENT_USER\Software\..."
  std::vector<Value> values;
};

struct File {
  std::vector<Key> keys;  // in file order

  Key* FindKey(std::string_view path);
  const Key* FindKey(std::string_view path) const;
  // Adds the key and every missing key above it (below the root); gives the
  // key and whether it was new.
  Key& CreateKey(std::string_view path, bool* created = nullptr);
  static Value* FindValue(Key& key, std::string_view name);
  static const Value* FindValue(const Key& key, std::string_view name);
};

// Nothing when the text is not a REGEDIT4 file.
std::optional<File> Parse(std::string_view text);
std::string Write(const File& file);

}  // namespace platform::regfile
