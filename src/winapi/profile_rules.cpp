#include "winapi/profile_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/text.h"

namespace platform::profile {

namespace {
// Longer lines are kept only this far: nothing beyond it could be returned
// (values are cut far shorter) or match a name Kestrum looks for.
constexpr std::size_t kLineLimit = 64 * 1024;

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}
}  // namespace

Lookup::Lookup(std::string section, std::string key)
    : section_(text::TrimSpaceTab(section)), key_(text::TrimSpaceTab(key)) {}

void Lookup::Feed(std::string_view bytes) {
  if (!started_) {
    // A UTF-16LE file announces itself with its byte-order mark; a UTF-8
    // mark is not recognised and stays part of the first line.
    const std::size_t take = std::min<std::size_t>(2 - firstBytes_.size(), bytes.size());
    firstBytes_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (firstBytes_.size() < 2) return;
    started_ = true;
    if (static_cast<unsigned char>(firstBytes_[0]) == 0xFF &&
        static_cast<unsigned char>(firstBytes_[1]) == 0xFE) {
      utf16_ = true;
    } else {
      Bytes(firstBytes_);
    }
  }
  if (!utf16_) {
    Bytes(bytes);
    return;
  }
  std::string decoded;
  for (char c : bytes) {
    pendingUnit_ += c;
    if (pendingUnit_.size() < 2) continue;
    const unsigned unit = static_cast<unsigned char>(pendingUnit_[0]) |
                          (static_cast<unsigned>(static_cast<unsigned char>(pendingUnit_[1])) << 8);
    pendingUnit_.clear();
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      pendingHighSurrogate_ = unit;
      continue;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF && pendingHighSurrogate_ != 0) {
      AppendUtf8(decoded, 0x10000 + ((pendingHighSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
      pendingHighSurrogate_ = 0;
      continue;
    }
    pendingHighSurrogate_ = 0;
    AppendUtf8(decoded, unit);
  }
  Bytes(decoded);
}

void Lookup::Bytes(std::string_view bytes) {
  for (char c : bytes) {
    if (where_ == Where::Done) return;
    if (c == '\n' || c == '\r') {
      if (c == '\n' && lastWasCr_) {
        lastWasCr_ = false;
        continue;
      }
      lastWasCr_ = c == '\r';
      Line(line_);
      line_.clear();
      beyondLimit_ = '\0';
      continue;
    }
    lastWasCr_ = false;
    if (line_.size() < kLineLimit) {
      line_ += c;
    } else if (c != ' ' && c != '\t') {
      beyondLimit_ = c;
    }
  }
}

void Lookup::Line(const std::string& rawLine) {
  const std::string line = text::TrimSpaceTab(rawLine);
  if (line.empty() || line[0] == ';') return;
  if (line[0] == '[') {
    const auto close = line.find(']');
    if (close != std::string::npos) {
      const std::string name = text::TrimSpaceTab(line.substr(1, close - 1));
      if (where_ == Where::Target) {
        where_ = Where::Done;  // only the first section of that name counts
      } else if (!targetSeen_ && text::EqualsNoCase(name, section_)) {
        where_ = Where::Target;
        targetSeen_ = true;
      } else {
        where_ = Where::Other;
      }
      return;
    }
  }
  if (where_ != Where::Target) return;
  const auto equals = line.find('=');
  const std::string name = text::TrimSpaceTab(line.substr(0, equals));
  if (!text::EqualsNoCase(name, key_)) return;
  std::string value =
      equals == std::string::npos ? std::string() : text::TrimSpaceTab(line.substr(equals + 1));
  // The quotes come off whatever the line's length: its true end may lie
  // beyond the part that is kept.
  const bool cut = beyondLimit_ != '\0';
  const char last = cut ? beyondLimit_ : (value.empty() ? '\0' : value.back());
  if ((value.size() >= 2 || cut) && (value[0] == '"' || value[0] == '\'') && last == value[0]) {
    value = cut ? value.substr(1) : value.substr(1, value.size() - 2);
  }
  // A value is a C string to Windows: it ends at a NUL byte.
  const auto nul = value.find('\0');
  if (nul != std::string::npos) value.resize(nul);
  value_ = value;
  where_ = Where::Done;  // the first line of the key wins
}

std::optional<std::string> Lookup::Finish() {
  if (!started_ && !firstBytes_.empty()) {
    started_ = true;
    Bytes(firstBytes_);
  }
  if (where_ != Where::Done && !line_.empty()) Line(line_);
  line_.clear();
  beyondLimit_ = '\0';
  where_ = Where::Done;
  return value_;
}

std::optional<std::string> Find(std::string_view fileText, const std::string& section,
                                const std::string& key) {
  Lookup lookup(section, key);
  lookup.Feed(fileText);
  return lookup.Finish();
}

std::uint32_t CopyOut(const std::string& value, char* buffer, std::uint32_t bufferSize) {
  if (buffer == nullptr || bufferSize == 0) return 0;
  const std::size_t n = std::min<std::size_t>(value.size(), bufferSize - 1);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

}  // namespace platform::profile
