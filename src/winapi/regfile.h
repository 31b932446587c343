// The registry as text: the REGEDIT4 export format of the Windows registry
// editor, read and written so that either side could import the other's file.
//
// The file is someone's data, often edited by hand: every line that is not
// changed is written back exactly as it stood (comments, blank lines, line
// ends, spelling), and only the values that change are written anew.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::regfile {

struct Value {
  std::string name;  // empty: the key's default value ("@")
  std::uint32_t type = 0;
  std::string data;   // the raw bytes
  std::string raw;    // its line(s) as they stood, line ends included; empty once changed
  std::string after;  // the lines after it that are no value (comments, blanks), as they stood
};

// One "[...]" section of the file. A key written twice has two sections.
struct Key {
  std::string path;   // "HKEY_CURRENT_USER\Software\..."
  std::string raw;    // its header line as it stood; empty for a new section
  std::string after;  // the lines between the header and its first value
  std::vector<Value> values;
};

class File {
 public:
  // Every key of the file, the ones above those that it names included.
  bool HasKey(std::string_view path) const;
  // Adds the key and every missing key above it (below the root); tells
  // whether the key was new. A key keeps the case it was first named with.
  void CreateKey(std::string_view path, bool* created = nullptr);
  // The definition that counts (the last, when a value stands twice).
  const Value* FindValue(std::string_view keyPath, std::string_view name) const;
  // Sets a value of a key that exists; false when it already held exactly
  // that, and nothing changed.
  bool SetValue(std::string_view keyPath, std::string_view name, std::uint32_t type,
                std::string data);

  // The names of the keys right below a key, as first named, in order.
  std::vector<std::string> SubKeys(std::string_view path) const;
  // Takes a key away with every key below it; false when there was none.
  bool DeleteKey(std::string_view path);

  const std::vector<Key>& Sections() const { return sections_; }

 private:
  friend std::optional<File> Parse(std::string_view text);
  friend std::string Write(const File& file);

  struct KeyEntry {
    std::string path;                // as first named
    std::size_t lastSection = npos;  // where new values go; npos: none yet
  };
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  KeyEntry& Entry(std::string_view path, bool* created);
  std::size_t AddSection(KeyEntry& entry, std::string raw);
  void AddValue(KeyEntry& entry, std::string valueKey, Value value);
  static std::string ValueKey(std::string_view keyPath, std::string_view name);

  std::string head_;  // the "REGEDIT4" line and what stands before the first key
  std::vector<Key> sections_;
  std::unordered_map<std::string, KeyEntry> index_;  // by lower-cased path
  // (section, value) of each value's last definition, by lower-cased path,
  // a NUL and the lower-cased name.
  std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> values_;
};

// Nothing when the text is not a REGEDIT4 file.
std::optional<File> Parse(std::string_view text);
std::string Write(const File& file);

}  // namespace platform::regfile
