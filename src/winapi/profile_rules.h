// Finding one key of one section in the text of a profile (".ini") file, by
// the rules Windows' profile functions follow.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::profile {

// Feeds a file's bytes in pieces of any size and answers the value of one
// key, so that a huge file is never held in memory at once.
class Lookup {
 public:
  Lookup(std::string section, std::string key);
  void Feed(std::string_view bytes);
  // Ends the input and gives the value (quotes removed), or nothing when the
  // section or the key is missing.
  std::optional<std::string> Finish();
  // True once the answer cannot change any more: the rest need not be read.
  bool Decided() const { return where_ == Where::Done; }

 private:
  void Line(const std::string& line);
  void Bytes(std::string_view bytes);

  std::string section_;
  std::string key_;
  std::string line_;
  // The last character, not a blank, of the line beyond what is kept of it.
  char beyondLimit_ = '\0';
  bool lastWasCr_ = false;
  bool started_ = false;
  bool utf16_ = false;
  std::string pendingUnit_;
  unsigned pendingHighSurrogate_ = 0;
  std::string firstBytes_;
  enum class Where { NoSection, Target, Other, Done } where_ = Where::NoSection;
  bool targetSeen_ = false;
  std::optional<std::string> value_;
};

// The whole lookup over a text held in memory.
std::optional<std::string> Find(std::string_view fileText, const std::string& section,
                                const std::string& key);

// Copies a found value (or the default) into a caller's buffer as
// GetPrivateProfileStringA does: cut to bufferSize - 1 characters, always
// terminated, the count of characters copied returned.
std::uint32_t CopyOut(const std::string& value, char* buffer, std::uint32_t bufferSize);

}  // namespace platform::profile
