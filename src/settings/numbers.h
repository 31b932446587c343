// When a stored text counts as a number, and how it becomes one.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace numbers {

// Plain decimal text: blanks around it, an optional sign, digits with an
// optional decimal point (at least one digit in all). Nothing else counts.
std::optional<double> Parse(std::string_view text);
inline bool ReadsAsNumber(std::string_view text) {
  return Parse(text).has_value();
}

// Rounds half to even; nothing when the result is outside 16 bits.
std::optional<std::int16_t> ToInt16(double value);

}  // namespace numbers
