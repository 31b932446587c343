#include "platform/regfile.h"

#include <cstdio>

#include "platform/text.h"

namespace platform::regfile {

namespace {

constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

// Reads a quoted, escaped text starting at pos (on the opening quote);
// leaves pos after the closing quote.
bool ReadQuoted(const std::string& line, std::size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  ++pos;
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == '"') return true;
    if (c == '\\' && pos < line.size() && (line[pos] == '\\' || line[pos] == '"')) {
      out += line[pos++];
    } else {
      out += c;
    }
  }
  return false;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHexBytes(std::string_view list, std::string& out) {
  const std::string trimmed = text::TrimSpaceTab(list);
  if (trimmed.empty()) return true;
  std::size_t pos = 0;
  while (pos < trimmed.size()) {
    while (pos < trimmed.size() && (trimmed[pos] == ' ' || trimmed[pos] == '\t')) ++pos;
    std::size_t end = trimmed.find(',', pos);
    if (end == std::string::npos) end = trimmed.size();
    const std::string byte = text::TrimSpaceTab(trimmed.substr(pos, end - pos));
    if (byte.empty() || byte.size() > 2) return false;
    int value = 0;
    for (char c : byte) {
      const int d = HexDigit(c);
      if (d < 0) return false;
      value = value * 16 + d;
    }
    out += static_cast<char>(value);
    if (end == trimmed.size()) break;
    pos = end + 1;
    if (pos == trimmed.size()) return false;  // a list cannot end in a comma
  }
  return true;
}

bool ParseData(const std::string& data, Value& value) {
  if (!data.empty() && data[0] == '"') {
    std::size_t pos = 0;
    std::string textValue;
    if (!ReadQuoted(data, pos, textValue)) return false;
    if (!text::TrimSpaceTab(data.substr(pos)).empty()) return false;
    value.type = kSz;
    value.data = textValue + '\0';
    return true;
  }
  if (text::StartsWith(text::ToLower(data), "dword:")) {
    const std::string digits = text::TrimSpaceTab(data.substr(6));
    if (digits.empty() || digits.size() > 8) return false;
    std::uint32_t n = 0;
    for (char c : digits) {
      const int d = HexDigit(c);
      if (d < 0) return false;
      n = n * 16 + static_cast<std::uint32_t>(d);
    }
    value.type = kDword;
    value.data.assign(4, '\0');
    for (int i = 0; i < 4; ++i)
      value.data[static_cast<std::size_t>(i)] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return true;
  }
  const std::string lower = text::ToLower(data);
  if (text::StartsWith(lower, "hex:")) {
    value.type = kBinary;
    return ParseHexBytes(std::string_view(data).substr(4), value.data);
  }
  if (text::StartsWith(lower, "hex(")) {
    const auto close = data.find("):");
    if (close == std::string::npos || close <= 4 || close > 12) return false;
    std::uint32_t type = 0;
    for (std::size_t i = 4; i < close; ++i) {
      const int d = HexDigit(data[i]);
      if (d < 0) return false;
      type = type * 16 + static_cast<std::uint32_t>(d);
    }
    value.type = type;
    return ParseHexBytes(std::string_view(data).substr(close + 2), value.data);
  }
  return false;
}

std::string Escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

// A text value is written as text only when it reads back byte for byte:
// one NUL at its end and no line breaks or other NULs inside.
bool WritableAsText(const Value& v) {
  if (v.type != kSz || v.data.empty() || v.data.back() != '\0') return false;
  const std::string_view body(v.data.data(), v.data.size() - 1);
  return body.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

void AppendHex(std::string& line, std::string& out, const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    line += digits[b >> 4];
    line += digits[b & 0xF];
    if (i + 1 < bytes.size()) {
      line += ',';
      if (line.size() >= 76) {
        out += line + "\\\r\n";
        line = "  ";
      }
    }
  }
}

}  // namespace

Key* File::FindKey(std::string_view path) {
  for (auto& k : keys) {
    if (text::EqualsNoCase(k.path, path)) return &k;
  }
  return nullptr;
}

const Key* File::FindKey(std::string_view path) const {
  return const_cast<File*>(this)->FindKey(path);
}

Key& File::CreateKey(std::string_view path, bool* created) {
  if (created != nullptr) *created = false;
  // Each key below the root (the first component) that is missing is made;
  // one that exists keeps the case it was made with.
  std::size_t pos = path.find('\\');
  std::string current(path.substr(0, pos));
  Key* key = nullptr;
  while (pos != std::string_view::npos) {
    const std::size_t next = path.find('\\', pos + 1);
    const std::string_view part = path.substr(
        pos + 1, next == std::string_view::npos ? std::string_view::npos : next - pos - 1);
    const std::string candidate = current + "\\" + std::string(part);
    key = FindKey(candidate);
    if (key == nullptr) {
      keys.push_back(Key{candidate, {}});
      key = &keys.back();
      if (created != nullptr && next == std::string_view::npos) *created = true;
    }
    current = key->path;
    pos = next;
  }
  if (key == nullptr) {
    if (Key* root = FindKey(path)) return *root;
    keys.push_back(Key{std::string(path), {}});
    if (created != nullptr) *created = true;
    return keys.back();
  }
  return *key;
}

Value* File::FindValue(Key& key, std::string_view name) {
  for (auto& v : key.values) {
    if (text::EqualsNoCase(v.name, name)) return &v;
  }
  return nullptr;
}

const Value* File::FindValue(const Key& key, std::string_view name) {
  return FindValue(const_cast<Key&>(key), name);
}

std::optional<File> Parse(std::string_view input) {
  if (text::StartsWith(input, "\xEF\xBB\xBF")) input.remove_prefix(3);
  const auto lines = SplitLines(input);
  File file;
  Key* current = nullptr;
  bool headerSeen = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = text::TrimSpaceTab(lines[i]);
    if (!headerSeen) {
      if (line.empty()) continue;
      if (line != "REGEDIT4") return std::nullopt;
      headerSeen = true;
      continue;
    }
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3 || line[1] == '-') return std::nullopt;
      const std::string path = line.substr(1, line.size() - 2);
      // Every part of a key path has a name: no leading, trailing or double
      // backslash.
      if (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos) {
        return std::nullopt;
      }
      current = &file.CreateKey(path);
      continue;
    }
    if (current == nullptr) return std::nullopt;
    // Hex data may go on over several lines, each but the last ending in "\".
    while (!line.empty() && line.back() == '\\' && i + 1 < lines.size() &&
           line.find("=hex") != std::string::npos) {
      line.pop_back();
      line += text::TrimSpaceTab(lines[++i]);
    }
    Value value;
    std::size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (!ReadQuoted(line, pos, value.name)) {
      return std::nullopt;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') return std::nullopt;
    ++pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (!ParseData(line.substr(pos), value)) return std::nullopt;
    if (Value* existing = File::FindValue(*current, value.name)) {
      existing->type = value.type;
      existing->data = value.data;
    } else {
      current->values.push_back(value);
    }
  }
  if (!headerSeen) return std::nullopt;
  return file;
}

std::string Write(const File& file) {
  std::string out = "REGEDIT4\r\n";
  for (const auto& key : file.keys) {
    out += "\r\n[" + key.path + "]\r\n";
    for (const auto& v : key.values) {
      std::string line = v.name.empty() ? std::string("@=") : "\"" + Escape(v.name) + "\"=";
      if (WritableAsText(v)) {
        line += "\"" + Escape(std::string_view(v.data.data(), v.data.size() - 1)) + "\"";
      } else if (v.type == kDword && v.data.size() == 4) {
        std::uint32_t n = 0;
        for (int b = 3; b >= 0; --b)
          n = (n << 8) | static_cast<unsigned char>(v.data[static_cast<std::size_t>(b)]);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", n);
        line += buffer;
      } else {
        if (v.type == kBinary) {
          line += "hex:";
        } else {
          char buffer[24];
          std::snprintf(buffer, sizeof buffer, "hex(%x):", v.type);
          line += buffer;
        }
        AppendHex(line, out, v.data);
      }
      out += line + "\r\n";
    }
  }
  out += "\r\n";
  return out;
}

}  // namespace platform::regfile
