#include "settings/numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace numbers {

std::optional<double> Parse(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::size_t end = text.size();
  while (end > i && text[end - 1] == ' ') --end;
  std::string body(text.substr(i, end - i));
  if (body.empty()) return std::nullopt;
  std::size_t p = 0;
  if (body[p] == '+' || body[p] == '-') ++p;
  bool digits = false;
  bool point = false;
  for (; p < body.size(); ++p) {
    const char c = body[p];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  // from_chars, unlike stod, ignores the user's locale: "2.5" is 2.5 in
  // every language. It takes no leading "+".
  const char* first = body.data() + (body[0] == '+' ? 1 : 0);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(first, body.data() + body.size(), value);
  if (ec != std::errc() || ptr != body.data() + body.size()) return std::nullopt;
  return value;
}

std::optional<std::int16_t> ToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default mode: half to even
  if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace numbers
