// Small text helpers shared by the core. Texts are UTF-8 std::strings; case
// rules are ASCII-only, as the 8-bit DOS and Windows names Kestrum handles.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace text {

std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

// The first or last n characters; the whole text when it is shorter.
std::string Left(std::string_view s, std::size_t n);
std::string Right(std::string_view s, std::size_t n);
// n characters from the 1-based position start; fewer (or none) past the end.
std::string Mid(std::string_view s, std::size_t start, std::size_t n);

// Removes blanks (the space character only) at both ends.
std::string TrimBlanks(std::string_view s);
// Removes spaces and tabs at both ends.
std::string TrimSpaceTab(std::string_view s);

// Splits at runs of blanks; no empty words.
std::vector<std::string> SplitWords(std::string_view s);

bool EndsWith(std::string_view s, std::string_view suffix);
bool StartsWith(std::string_view s, std::string_view prefix);

}  // namespace text
