#include "saves/saves.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "saves/inflate.h"

namespace saves {

namespace {

std::uint32_t Le(std::string_view b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
  }
  return v;
}

// Text up to its first NUL: what follows it is whatever the writer's
// memory held.
std::string UpToNul(std::string_view b) {
  const auto nul = b.find('\0');
  return std::string(b.substr(0, nul));
}

// ---------------------------------------------------------------- GAMEn.SAV

// The most strings a block's table holds in the engines' decoders; a block
// that claims more is damaged.
constexpr std::uint32_t kMostStrings = 16384 + (16384 >> 4);

// One block's bytes unpacked: stored as they are, or LZW-packed. Each code
// names a string (0-255 a single byte) and defines the next one: that
// string and the first byte of the one the following code names. Codes are
// as wide as the number of the string they define needs, less one bit where
// the value's lower bits could not be more.
std::optional<std::string> Unpack(std::string_view block) {
  if (block.size() < 4) return std::nullopt;
  const std::uint32_t size = Le(block, 0, 2);
  const std::uint32_t strings = Le(block, 2, 2);
  if (strings == 0) {
    if (block.size() - 4 < size) return std::nullopt;
    return std::string(block.substr(4, size));
  }
  if (strings > kMostStrings || strings < 256) return std::nullopt;
  std::vector<std::uint32_t> parent(strings + 1, 0);
  std::vector<unsigned char> last(strings + 1, 0);
  std::string out;
  std::size_t bit = 32;
  const std::size_t bits = block.size() * 8;
  std::uint32_t width = 8, room = 256;
  std::vector<unsigned char> reversed;
  for (std::uint32_t next = 256; next < strings;) {
    if (bit + width > bits) return std::nullopt;
    std::uint32_t code = 0;
    for (std::uint32_t i = 0; i < width; ++i) {
      const std::size_t at = bit + i;
      code |= ((static_cast<unsigned char>(block[at >> 3]) >> (at & 7)) & 1u) << i;
    }
    bit += width;
    const std::uint32_t low = (room >> 1) - 1;
    if ((code & low) > ((next - 1) & low)) {
      code &= low;
      --bit;
    }
    if (code >= next) return std::nullopt;
    parent[next] = code;
    // The string, from its last byte back to its first.
    reversed.clear();
    std::uint32_t at = code;
    while (at >= 256) {
      reversed.push_back(last[at]);
      at = parent[at];
    }
    const auto first = static_cast<unsigned char>(at);
    if (out.size() + reversed.size() + 1 > size) return std::nullopt;
    out += static_cast<char>(first);
    for (auto r = reversed.rbegin(); r != reversed.rend(); ++r) out += static_cast<char>(*r);
    // The string defined before ends with this one's first byte; so does
    // this one until the next code says otherwise.
    last[next - 1] = first;
    last[next] = first;
    ++next;
    if (next > room) {
      ++width;
      room <<= 1;
    }
  }
  if (out.size() != size) return std::nullopt;
  return out;
}

// The fields of a GAMEn.SAV, as the game reads them: count records of size
// bytes, in blocks, each record after the first stored as its difference
// from the one before.
struct Fields {
  std::string_view bytes;
  std::size_t at = 0;

  std::optional<std::string> Block() {
    if (at + 2 > bytes.size()) return std::nullopt;
    const std::uint32_t length = Le(bytes, at, 2);
    at += 2;
    if (at + length > bytes.size()) return std::nullopt;
    auto unpacked = Unpack(bytes.substr(at, length));
    at += length;
    return unpacked;
  }
  std::optional<std::string> Read(std::size_t size, std::size_t count) {
    if (size > 16384) {
      count *= size;
      size = 1;
    }
    auto block = Block();
    if (!block || block->size() < size) return std::nullopt;
    std::string out = block->substr(0, size);
    std::size_t k = size;
    for (std::size_t i = 1; i < count; ++i) {
      if (k >= block->size()) {
        block = Block();
        if (!block) return std::nullopt;
        k = 0;
      }
      if (k + size > block->size()) return std::nullopt;
      const std::size_t before = out.size() - size;
      for (std::size_t j = 0; j < size; ++j) {
        out += static_cast<char>(static_cast<unsigned char>(out[before + j]) +
                                 static_cast<unsigned char>((*block)[k + j]));
      }
      k += size;
    }
    return out;
  }
  std::optional<std::int32_t> Int() {
    auto field = Read(4, 1);
    if (!field) return std::nullopt;
    return static_cast<std::int32_t>(Le(*field, 0, 4));
  }
};

bool IsDosVersion(int v) {
  return v == kDos15 || v == kDos14 || v == kDos15Shareware || v == kDos13Shareware;
}

// The header and the picture after it, as one engine lays them out.
SaveInfo ReadGameSaveAs(std::string_view bytes, Format format) {
  SaveInfo info;
  info.format = format;
  Fields f{bytes};
  const auto version = f.Int();
  const auto players = f.Int();
  const auto name = f.Read(19, 1);
  const auto episode = f.Int();
  const auto level = f.Int();
  const auto skill = f.Int();
  if (!version || !players || !name || !episode || !level || !skill) return info;
  if (format == Format::kJFDuke3D) {
    const auto map = f.Read(1024, 1);
    if (!map) return info;
    info.userMap = UpToNul(*map);
  }
  // The picture: a file cut short there is damaged too.
  const bool dos = format == Format::kDos;
  if (!f.Read(dos ? 160 : 320, dos ? 100 : 200)) return info;
  info.readable = true;
  info.version = *version;
  info.players = *players;
  info.name = UpToNul(*name);
  info.episode = *episode + 1;
  info.level = *level + 1;
  info.skill = *skill;
  return info;
}

// ---------------------------------------------------------------- Raze's zip

struct ZipEntry {
  std::uint32_t method = 0;
  std::string_view data;   // as stored
  std::uint32_t size = 0;  // unpacked
};

// An entry found by its name through the zip's central directory; nothing
// where the zip has no such entry or is damaged.
std::optional<ZipEntry> FindEntry(std::string_view zip, std::string_view wanted) {
  // The end record: its signature within the last 64 KiB and 22 bytes.
  if (zip.size() < 22) return std::nullopt;
  std::size_t end = std::string_view::npos;
  const std::size_t lowest = zip.size() > 65557 ? zip.size() - 65557 : 0;
  for (std::size_t at = zip.size() - 22 + 1; at-- > lowest;) {
    if (Le(zip, at, 4) == 0x06054b50u) {
      end = at;
      break;
    }
  }
  if (end == std::string_view::npos) return std::nullopt;
  const std::uint32_t entries = Le(zip, end + 10, 2);
  std::size_t at = Le(zip, end + 16, 4);
  for (std::uint32_t i = 0; i < entries; ++i) {
    if (at + 46 > zip.size() || Le(zip, at, 4) != 0x02014b50u) return std::nullopt;
    const std::uint32_t method = Le(zip, at + 10, 2);
    const std::uint32_t packed = Le(zip, at + 20, 4);
    const std::uint32_t size = Le(zip, at + 24, 4);
    const std::size_t nameLength = Le(zip, at + 28, 2);
    const std::size_t skip = nameLength + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
    const std::size_t local = Le(zip, at + 42, 4);
    if (at + 46 + nameLength > zip.size()) return std::nullopt;
    const std::string_view name = zip.substr(at + 46, nameLength);
    at += 46 + skip;
    if (name != wanted) continue;
    if (local + 30 > zip.size() || Le(zip, local, 4) != 0x04034b50u) return std::nullopt;
    const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
    if (data > zip.size() || packed > zip.size() - data) return std::nullopt;
    return ZipEntry{method, zip.substr(data, packed), size};
  }
  return std::nullopt;
}

// The values of a flat JSON object, by key: text, or a number's digits.
std::optional<std::string> JsonValue(std::string_view json, std::string_view key) {
  const std::string quoted = "\"" + std::string(key) + "\"";
  for (std::size_t at = json.find(quoted); at != std::string_view::npos;
       at = json.find(quoted, at + 1)) {
    std::size_t v = at + quoted.size();
    while (v < json.size() &&
           (json[v] == ' ' || json[v] == '\t' || json[v] == '\r' || json[v] == '\n')) {
      ++v;
    }
    if (v >= json.size() || json[v] != ':') continue;
    ++v;
    while (v < json.size() &&
           (json[v] == ' ' || json[v] == '\t' || json[v] == '\r' || json[v] == '\n')) {
      ++v;
    }
    if (v >= json.size()) return std::nullopt;
    std::string value;
    if (json[v] == '"') {
      for (++v; v < json.size() && json[v] != '"'; ++v) {
        if (json[v] == '\\' && v + 1 < json.size()) ++v;
        value += json[v];
      }
      return value;
    }
    while (v < json.size() &&
           (std::isdigit(static_cast<unsigned char>(json[v])) || json[v] == '-')) {
      value += json[v++];
    }
    return value;
  }
  return std::nullopt;
}

}  // namespace

SaveInfo ReadGameSave(std::string_view bytes) {
  Fields f{bytes};
  const auto version = f.Int();
  if (!version) return {};
  // The version tells whose save it is; a file the other layout reads whole
  // is taken as that one's.
  const Format first = IsDosVersion(*version) ? Format::kDos : Format::kJFDuke3D;
  SaveInfo info = ReadGameSaveAs(bytes, first);
  if (!info.readable) {
    info = ReadGameSaveAs(bytes, first == Format::kDos ? Format::kJFDuke3D : Format::kDos);
  }
  return info;
}

SaveInfo ReadEDuke32Save(std::string_view b) {
  SaveInfo info;
  info.format = Format::kEDuke32;
  constexpr std::size_t kHeader = 328;
  if (b.size() < kHeader + 8 || b.substr(0, 11) != "E32SAVEGAME" || b[11] != 1 || b[12] != 7) {
    return info;
  }
  // The screenshot after it: a file cut short there is damaged.
  const std::uint32_t after = Le(b, kHeader, 4);
  const std::uint32_t picture = Le(b, kHeader + 4, 4);
  if (picture > b.size() - kHeader - 8 || after != kHeader + 8 + picture) return info;
  const auto widthAndAuto = static_cast<unsigned char>(b[13]);
  info.pointerSize = widthAndAuto & 0x7f;
  info.autosave = (widthAndAuto & 0x80) != 0;
  info.version = static_cast<int>(Le(b, 14, 2));
  info.name = UpToNul(b.substr(36, 32));
  info.players = static_cast<unsigned char>(b[68]);
  info.episode = static_cast<unsigned char>(b[69]) + 1;
  info.level = static_cast<unsigned char>(b[70]) + 1;
  info.skill = static_cast<unsigned char>(b[71]);
  info.userMap = UpToNul(b.substr(72, 224));
  info.script = UpToNul(b.substr(296, 32));
  info.readable = true;
  return info;
}

SaveInfo ReadRazeSave(std::string_view zip) {
  SaveInfo info;
  info.format = Format::kRaze;
  const auto entry = FindEntry(zip, "info.json");
  if (!entry || entry->size > 65536) return info;
  std::optional<std::string> json;
  if (entry->method == 0) {
    json = std::string(entry->data);
  } else if (entry->method == 8) {
    json = Inflate(entry->data, entry->size);
  }
  if (!json || json->size() != entry->size) return info;
  const auto engine = JsonValue(*json, "Engine");
  const auto version = JsonValue(*json, "Save Version");
  if (!engine || !version || version->empty()) return info;
  info.engine = *engine;
  info.version = std::atoi(version->c_str());
  info.script = JsonValue(*json, "Game Resource").value_or("");
  info.name = JsonValue(*json, "Title").value_or("");
  info.label = JsonValue(*json, "Map Label").value_or("");
  info.created = JsonValue(*json, "Creation Time").value_or("");
  const std::string file = JsonValue(*json, "Map File").value_or("");
  if (file.rfind("file://", 0) == 0) info.userMap = file.substr(7);
  // "E1L3": the episode and the level.
  const std::string& l = info.label;
  const auto ell = l.find_first_of("Ll");
  if (l.size() >= 4 && (l[0] == 'E' || l[0] == 'e') && ell != std::string::npos) {
    info.episode = std::atoi(l.c_str() + 1);
    info.level = std::atoi(l.c_str() + ell + 1);
  }
  info.readable = true;
  return info;
}

}  // namespace saves
