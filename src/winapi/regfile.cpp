#include "winapi/regfile.h"

#include <algorithm>

#include <cstdio>

#include "text/text.h"

namespace platform::regfile {

namespace {

constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;

struct Line {
  std::string_view text;  // without its line end
  std::string_view raw;   // with it, as it stood
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      const std::size_t end = i;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(Line{text.substr(start, end - start), text.substr(start, i + 1 - start)});
      start = i + 1;
    }
  }
  if (start < text.size()) lines.push_back(Line{text.substr(start), text.substr(start)});
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

void AppendHex(std::string& line, std::string& out, std::string_view bytes) {
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

// One value as the registry editor writes it, without the final line end.
std::string FormatValue(const Value& v) {
  std::string out;
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
  return out + line;
}

// A line that is blank or a comment (";").
bool IsBlankOrComment(std::string_view line) {
  const auto first = line.find_first_not_of(" \t\r\n");
  return first == std::string_view::npos || line[first] == ';';
}

// The blank and comment lines at the end of some lines as they stood, taken
// off them: they part a key from the next one, and a comment there is the
// next key's.
std::string TakeTrailingBlankLines(std::string& lines) {
  const std::string_view all(lines);
  std::size_t cut = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i] != '\r' && all[i] != '\n') continue;
    if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
    if (!IsBlankOrComment(all.substr(start, i + 1 - start))) cut = i + 1;
    start = i + 1;
  }
  if (!IsBlankOrComment(all.substr(start))) cut = all.size();
  std::string blanks = lines.substr(cut);
  lines.resize(cut);
  return blanks;
}

// What is written next starts on a line of its own.
void EndLine(std::string& out) {
  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
}

bool EndsWithBlankLine(const std::string& out) {
  std::size_t n = out.size();
  if (n >= 2 && out[n - 2] == '\r' && out[n - 1] == '\n') {
    n -= 2;
  } else if (n >= 1 && (out[n - 1] == '\n' || out[n - 1] == '\r')) {
    n -= 1;
  } else {
    return false;
  }
  return n == 0 || out[n - 1] == '\n' || out[n - 1] == '\r';
}

}  // namespace

File::KeyEntry& File::Entry(std::string_view path, bool* created) {
  if (created != nullptr) *created = false;
  const std::string lower = text::ToLower(path);
  if (auto it = index_.find(lower); it != index_.end()) return it->second;
  // A key below others keeps their case as they were first named.
  std::string stored(path);
  if (const auto slash = path.rfind('\\'); slash != std::string_view::npos) {
    stored = Entry(path.substr(0, slash), nullptr).path + std::string(path.substr(slash));
  }
  if (created != nullptr) *created = true;
  return index_[lower] = KeyEntry{stored, npos};
}

std::size_t File::AddSection(KeyEntry& entry, std::string raw) {
  sections_.push_back(Key{entry.path, std::move(raw), {}, {}});
  entry.lastSection = sections_.size() - 1;
  return entry.lastSection;
}

std::string File::ValueKey(std::string_view keyPath, std::string_view name) {
  std::string k = text::ToLower(keyPath);
  k += '\0';
  k += text::ToLower(name);
  return k;
}

void File::AddValue(KeyEntry& entry, std::string valueKey, Value value) {
  if (entry.lastSection == npos) AddSection(entry, {});
  Key& section = sections_[entry.lastSection];
  if (value.raw.empty()) {
    // A new value goes after the key's last one, ahead of the blank and
    // comment lines that part it from the next key.
    std::string& before = section.values.empty() ? section.after : section.values.back().after;
    value.after = TakeTrailingBlankLines(before);
  }
  values_[std::move(valueKey)] = {entry.lastSection, section.values.size()};
  section.values.push_back(std::move(value));
}

std::vector<std::string> File::SubKeys(std::string_view path) const {
  const std::string below = text::ToLower(path) + "\\";
  std::vector<std::string> names;
  for (const auto& [lower, entry] : index_) {
    if (lower.size() > below.size() && lower.compare(0, below.size(), below) == 0 &&
        lower.find('\\', below.size()) == std::string::npos) {
      names.push_back(entry.path.substr(below.size()));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool File::DeleteKey(std::string_view path) {
  const std::string lower = text::ToLower(path);
  if (index_.count(lower) == 0) return false;
  const auto gone = [&lower](const Key& k) {
    const std::string p = text::ToLower(k.path);
    return p == lower || (p.size() > lower.size() && p.compare(0, lower.size(), lower) == 0 &&
                          p[lower.size()] == '\\');
  };
  sections_.erase(std::remove_if(sections_.begin(), sections_.end(), gone), sections_.end());
  // What is left is indexed again, as a parse of it would be.
  index_.clear();
  values_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    KeyEntry& entry = Entry(sections_[i].path, nullptr);
    entry.lastSection = i;
    for (std::size_t v = 0; v < sections_[i].values.size(); ++v) {
      values_[ValueKey(sections_[i].path, sections_[i].values[v].name)] = {i, v};
    }
  }
  return true;
}

bool File::HasKey(std::string_view path) const {
  return index_.count(text::ToLower(path)) != 0;
}

void File::CreateKey(std::string_view path, bool* created) {
  bool isNew = false;
  // Each key below the root (the first component) that is missing is made.
  for (std::size_t pos = path.find('\\'); pos != std::string_view::npos;
       pos = path.find('\\', pos + 1)) {
    const std::size_t next = path.find('\\', pos + 1);
    KeyEntry& entry = Entry(path.substr(0, next), &isNew);
    if (isNew) AddSection(entry, {});
    if (next == std::string_view::npos) break;
  }
  if (path.find('\\') == std::string_view::npos) {
    KeyEntry& entry = Entry(path, &isNew);
    if (isNew) AddSection(entry, {});
  }
  if (created != nullptr) *created = isNew;
}

const Value* File::FindValue(std::string_view keyPath, std::string_view name) const {
  const auto found = values_.find(ValueKey(keyPath, name));
  if (found == values_.end()) return nullptr;
  return &sections_[found->second.first].values[found->second.second];
}

bool File::SetValue(std::string_view keyPath, std::string_view name, std::uint32_t type,
                    std::string data) {
  const auto key = index_.find(text::ToLower(keyPath));
  if (key == index_.end()) return false;
  std::string valueKey = ValueKey(keyPath, name);
  const auto found = values_.find(valueKey);
  if (found == values_.end()) {
    AddValue(key->second, std::move(valueKey),
             Value{std::string(name), type, std::move(data), {}, {}});
    return true;
  }
  Value& v = sections_[found->second.first].values[found->second.second];
  if (v.type == type && v.data == data) return false;
  v.type = type;
  v.data = std::move(data);
  v.raw.clear();
  return true;
}

std::optional<File> Parse(std::string_view input) {
  const bool bom = text::StartsWith(input, "\xEF\xBB\xBF");
  const auto lines = SplitLines(input);
  File file;
  File::KeyEntry* current = nullptr;
  // Where a line that is no value goes: after the last thing read.
  auto tail = [&]() -> std::string& {
    if (file.sections_.empty()) return file.head_;
    Key& last = file.sections_.back();
    return last.values.empty() ? last.after : last.values.back().after;
  };
  bool headerSeen = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = text::TrimSpaceTab(i == 0 && bom ? lines[i].text.substr(3) : lines[i].text);
    if (!headerSeen) {
      if (!line.empty() && line != "REGEDIT4") return std::nullopt;
      headerSeen = !line.empty();
      file.head_ += lines[i].raw;
      continue;
    }
    if (line.empty() || line[0] == ';') {
      tail() += lines[i].raw;
      continue;
    }
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3 || line[1] == '-') return std::nullopt;
      const std::string path = line.substr(1, line.size() - 2);
      // Every part of a key path has a name: no leading, trailing or double
      // backslash.
      if (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos) {
        return std::nullopt;
      }
      current = &file.Entry(path, nullptr);
      file.AddSection(*current, std::string(lines[i].raw));
      file.sections_.back().path = path;
      continue;
    }
    if (current == nullptr) return std::nullopt;
    Value value;
    value.raw = lines[i].raw;
    // Hex data may go on over several lines, each but the last ending in "\".
    while (!line.empty() && line.back() == '\\' && i + 1 < lines.size() &&
           line.find("=hex") != std::string::npos) {
      line.pop_back();
      line += text::TrimSpaceTab(lines[++i].text);
      value.raw += lines[i].raw;
    }
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
    std::string valueKey = text::ToLower(current->path);
    valueKey += '\0';
    valueKey += text::ToLower(value.name);
    file.AddValue(*current, std::move(valueKey), std::move(value));
  }
  if (!headerSeen) return std::nullopt;
  return file;
}

std::string Write(const File& file) {
  const bool fresh = file.head_.empty();
  std::string out = fresh ? std::string("REGEDIT4\r\n") : file.head_;
  for (const auto& key : file.sections_) {
    if (!key.raw.empty()) {
      out += key.raw;
    } else {
      EndLine(out);
      if (!EndsWithBlankLine(out)) out += "\r\n";
      out += "[" + key.path + "]\r\n";
    }
    out += key.after;
    for (const auto& v : key.values) {
      if (!v.raw.empty()) {
        out += v.raw;
      } else {
        EndLine(out);
        out += FormatValue(v) + "\r\n";
      }
      out += v.after;
    }
  }
  if (fresh) out += "\r\n";
  return out;
}

}  // namespace platform::regfile
