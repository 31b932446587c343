// Raw deflate data (RFC 1951) unpacked, as a zip entry of method 8 holds
// it: enough for the few hundred bytes of a save's description, and safe on
// any bytes (a damaged stream is refused, never read past its end).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace saves {

// The unpacked bytes, at most limit of them; nothing when the data is no
// whole deflate stream or would unpack to more.
std::optional<std::string> Inflate(std::string_view data, std::size_t limit);

}  // namespace saves
