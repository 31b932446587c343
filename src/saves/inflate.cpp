#include "saves/inflate.h"

#include <array>
#include <cstdint>

namespace saves {

namespace {

// The stream's bits, least significant first; reading past the end marks
// the stream as short instead.
struct Bits {
  std::string_view data;
  std::size_t byte = 0;
  int bit = 0;
  bool short_ = false;

  int Get(int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
      if (byte >= data.size()) {
        short_ = true;
        return 0;
      }
      value |= ((static_cast<unsigned char>(data[byte]) >> bit) & 1) << i;
      if (++bit == 8) {
        bit = 0;
        ++byte;
      }
    }
    return value;
  }
};

// A canonical Huffman code: how many codes each length has, and the
// symbols in the order of their codes.
struct Code {
  std::array<int, 16> count{};
  std::array<int, 320> symbol{};
};

// False for lengths no code can have (more codes of a length than fit).
bool Build(Code& code, const int* lengths, int n) {
  code.count.fill(0);
  for (int i = 0; i < n; ++i) ++code.count[static_cast<std::size_t>(lengths[i])];
  if (code.count[0] == n) return true;  // no codes: only a stream that never uses it
  int left = 1;
  for (int len = 1; len < 16; ++len) {
    left = (left << 1) - code.count[static_cast<std::size_t>(len)];
    if (left < 0) return false;
  }
  std::array<int, 16> offset{};
  for (int len = 1; len < 15; ++len) {
    offset[static_cast<std::size_t>(len + 1)] =
        offset[static_cast<std::size_t>(len)] + code.count[static_cast<std::size_t>(len)];
  }
  for (int i = 0; i < n; ++i) {
    if (lengths[i] != 0)
      code.symbol[static_cast<std::size_t>(offset[static_cast<std::size_t>(lengths[i])]++)] = i;
  }
  return true;
}

// The next symbol; -1 for a code that is none.
int Decode(Bits& bits, const Code& code) {
  int value = 0, first = 0, index = 0;
  for (int len = 1; len < 16; ++len) {
    value |= bits.Get(1);
    const int count = code.count[static_cast<std::size_t>(len)];
    if (value - count < first)
      return code.symbol[static_cast<std::size_t>(index + (value - first))];
    index += count;
    first = (first + count) << 1;
    value <<= 1;
    if (bits.short_) return -1;
  }
  return -1;
}

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// One block's symbols, appended to out; false when they do not make sense.
bool Symbols(Bits& bits, const Code& literals, const Code& distances, std::string& out,
             std::size_t limit) {
  for (;;) {
    int symbol = Decode(bits, literals);
    if (symbol < 0 || bits.short_) return false;
    if (symbol < 256) {
      if (out.size() >= limit) return false;
      out += static_cast<char>(symbol);
      continue;
    }
    if (symbol == 256) return true;
    symbol -= 257;
    if (symbol >= 29) return false;
    const int length = kLengthBase[static_cast<std::size_t>(symbol)] +
                       bits.Get(kLengthExtra[static_cast<std::size_t>(symbol)]);
    const int d = Decode(bits, distances);
    if (d < 0 || d >= 30 || bits.short_) return false;
    const auto distance =
        static_cast<std::size_t>(kDistanceBase[static_cast<std::size_t>(d)] +
                                 bits.Get(kDistanceExtra[static_cast<std::size_t>(d)]));
    if (bits.short_ || distance > out.size() ||
        out.size() + static_cast<std::size_t>(length) > limit) {
      return false;
    }
    for (int i = 0; i < length; ++i) out += out[out.size() - distance];
  }
}

bool Fixed(Bits& bits, std::string& out, std::size_t limit) {
  std::array<int, 288> lengths{};
  for (int i = 0; i < 288; ++i)
    lengths[static_cast<std::size_t>(i)] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
  Code literals, distances;
  Build(literals, lengths.data(), 288);
  std::array<int, 30> distanceLengths{};
  distanceLengths.fill(5);
  Build(distances, distanceLengths.data(), 30);
  return Symbols(bits, literals, distances, out, limit);
}

bool Dynamic(Bits& bits, std::string& out, std::size_t limit) {
  const int literalCount = bits.Get(5) + 257;
  const int distanceCount = bits.Get(5) + 1;
  const int lengthCount = bits.Get(4) + 4;
  if (literalCount > 286 || distanceCount > 30 || bits.short_) return false;
  static constexpr std::array<int, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                 11, 4,  12, 3, 13, 2, 14, 1, 15};
  std::array<int, 19> codeLengths{};
  for (int i = 0; i < lengthCount; ++i)
    codeLengths[static_cast<std::size_t>(kOrder[static_cast<std::size_t>(i)])] = bits.Get(3);
  Code lengthCode;
  if (!Build(lengthCode, codeLengths.data(), 19)) return false;
  std::array<int, 316> lengths{};
  for (int at = 0; at < literalCount + distanceCount;) {
    int symbol = Decode(bits, lengthCode);
    if (symbol < 0 || bits.short_) return false;
    if (symbol < 16) {
      lengths[static_cast<std::size_t>(at++)] = symbol;
      continue;
    }
    int repeat = 0, value = 0;
    if (symbol == 16) {
      if (at == 0) return false;
      value = lengths[static_cast<std::size_t>(at - 1)];
      repeat = 3 + bits.Get(2);
    } else if (symbol == 17) {
      repeat = 3 + bits.Get(3);
    } else {
      repeat = 11 + bits.Get(7);
    }
    if (at + repeat > literalCount + distanceCount) return false;
    while (repeat-- > 0) lengths[static_cast<std::size_t>(at++)] = value;
  }
  if (lengths[256] == 0) return false;  // no end of the block
  Code literals, distances;
  if (!Build(literals, lengths.data(), literalCount) ||
      !Build(distances, lengths.data() + literalCount, distanceCount)) {
    return false;
  }
  return Symbols(bits, literals, distances, out, limit);
}

}  // namespace

std::optional<std::string> Inflate(std::string_view data, std::size_t limit) {
  Bits bits{data};
  std::string out;
  for (bool last = false; !last;) {
    last = bits.Get(1) == 1;
    const int type = bits.Get(2);
    if (bits.short_) return std::nullopt;
    bool ok = false;
    if (type == 0) {
      // Stored: from the next whole byte, its length and that length's
      // complement.
      if (bits.bit != 0) {
        bits.bit = 0;
        ++bits.byte;
      }
      if (bits.byte + 4 > data.size()) return std::nullopt;
      const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(data[i]); };
      const unsigned length = byteAt(bits.byte) | (byteAt(bits.byte + 1) << 8);
      const unsigned complement = byteAt(bits.byte + 2) | (byteAt(bits.byte + 3) << 8);
      bits.byte += 4;
      if ((length ^ 0xffffu) != complement || bits.byte + length > data.size() ||
          out.size() + length > limit) {
        return std::nullopt;
      }
      out.append(data.substr(bits.byte, length));
      bits.byte += length;
      ok = true;
    } else if (type == 1) {
      ok = Fixed(bits, out, limit);
    } else if (type == 2) {
      ok = Dynamic(bits, out, limit);
    }
    if (!ok) return std::nullopt;
  }
  return out;
}

}  // namespace saves
