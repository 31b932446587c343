#include "dos/dos_names.h"

#include <ext/pb_ds/assoc_container.hpp>
#include <ext/pb_ds/tree_policy.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

#include "text/text.h"

namespace platform::dos {

namespace {

// An alias given so far, ordered as DOSBox keeps them: by the alias text,
// equal texts in the order they were given.
struct AliasKey {
  std::string shortName;
  std::size_t order = 0;
};
struct AliasLess {
  bool operator()(const AliasKey& a, const AliasKey& b) const {
    const int c = std::strcmp(a.shortName.c_str(), b.shortName.c_str());
    return c != 0 ? c < 0 : a.order < b.order;
  }
};
// DOSBox looks the next number up by halving the sorted list of aliases by
// position; a tree that finds an entry by its position does the same
// without moving every later entry on each insertion (which made a folder of
// 20,000 long names take seconds).
using AliasTree = __gnu_pbds::tree<AliasKey, int, AliasLess, __gnu_pbds::rb_tree_tag,
                                   __gnu_pbds::tree_order_statistics_node_update>;

// Compares a candidate (an upper-cased name without blanks) with an alias
// already given: only as many characters as the alias keeps before its "~N"
// count, so that every name sharing that prefix is in the same series.
int CompareWithAlias(const std::string& name, const std::string& alias) {
  const auto tilde = alias.find('~');
  if (tilde == std::string::npos) return std::strcmp(name.c_str(), alias.c_str());
  std::size_t count = tilde;
  const std::size_t numberSize = std::strcspn(alias.c_str() + tilde, ".");
  std::size_t nameBase = std::strcspn(name.c_str(), ".");
  if (nameBase > 8) nameBase = 8;
  if (nameBase > count + numberSize) count = nameBase - numberSize;
  return std::strncmp(name.c_str(), alias.c_str(), count);
}

// How many characters of the alias the "~N" count leaves of its base, and
// how long the count is ("~12": 3).
std::size_t TildeAt(const std::string& alias) {
  return alias.find('~');
}
std::size_t CountSize(const std::string& alias, std::size_t tilde) {
  return std::strcspn(alias.c_str() + tilde, ".");
}

// The aliases given so far: all of them, and apart those whose base was
// shorter than its room ("AB~1" from "AB 1"), the only ones a run of
// matching aliases can stop at before its prefix ends.
struct Aliased {
  AliasTree all;
  AliasTree shortBased;

  void Add(const std::string& alias, int number) {
    const AliasKey key{alias, all.size()};
    all.insert({key, number});
    const auto tilde = TildeAt(alias);
    if (tilde + CountSize(alias, tilde) < 8) shortBased.insert({key, number});
  }
};

// The first position at or after a matching one where the aliases stop
// matching the name, walked as DOSBox walks them, one alias at a time, but
// passing every alias that begins "<prefix>~" at once: for a name without a
// "~" of its own those all match, but for the short-based ones.
long RunEnd(const Aliased& aliases, const std::string& name, long from) {
  const long size = static_cast<long>(aliases.all.size());
  const bool jumps = name.substr(0, 8).find('~') == std::string::npos;
  long at = from;
  while (at < size) {
    const auto here = aliases.all.find_by_order(static_cast<std::size_t>(at));
    if (CompareWithAlias(name, here->first.shortName) != 0) return at;
    if (!jumps) {
      ++at;
      continue;
    }
    const std::string& alias = here->first.shortName;
    const AliasKey pastPrefix{alias.substr(0, TildeAt(alias)) + '\x7f', 0};
    const long prefixEnd = static_cast<long>(aliases.all.order_of_key(pastPrefix));
    for (auto odd = aliases.shortBased.lower_bound(here->first);
         odd != aliases.shortBased.end() && AliasLess()(odd->first, pastPrefix); ++odd) {
      if (CompareWithAlias(name, odd->first.shortName) != 0) {
        return static_cast<long>(aliases.all.order_of_key(odd->first));
      }
    }
    at = prefixEnd;
  }
  return size;
}

// The next number for a name: one more than the number of the last alias of
// the run that shares its prefix, from the first one the halving meets.
int NextAliasNumber(const Aliased& aliases, const std::string& name) {
  long low = 0;
  long high = static_cast<long>(aliases.all.size()) - 1;
  while (low <= high) {
    const long mid = (low + high) / 2;
    const auto at = aliases.all.find_by_order(static_cast<std::size_t>(mid));
    const int res = CompareWithAlias(name, at->first.shortName);
    if (res > 0) {
      low = mid + 1;
    } else if (res < 0) {
      high = mid - 1;
    } else {
      const long last = RunEnd(aliases, name, mid) - 1;
      return aliases.all.find_by_order(static_cast<std::size_t>(last))->second + 1;
    }
  }
  return 1;
}

std::string RemoveTrailingDot(std::string s) {
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

std::vector<std::string> DosAliases(const std::vector<std::string>& names) {
  std::vector<std::string> result;
  result.reserve(names.size());
  Aliased aliased;                        // the generated aliases, with their numbers
  std::unordered_set<std::string> shown;  // every name shown so far
  shown.reserve(names.size());

  for (const auto& original : names) {
    std::string upper = text::ToUpper(original);
    bool makeAlias = upper.find(' ') != std::string::npos;
    upper.erase(std::remove(upper.begin(), upper.end(), ' '), upper.end());

    std::string name = upper;
    std::size_t baseLength = name.size();
    auto dot = name.find('.');
    if (dot != std::string::npos) {
      if (name.size() - dot > 4) {
        // An extension longer than three: leading dots do not count.
        const auto firstNonDot = name.find_first_not_of('.');
        name = firstNonDot == std::string::npos ? std::string() : name.substr(firstNonDot);
        makeAlias = true;
      }
      dot = name.find('.');
      baseLength = dot == std::string::npos ? name.size() : dot;
    } else {
      baseLength = name.size();
    }
    makeAlias = makeAlias || baseLength > 8;
    // A valid name that an earlier entry already shows is aliased too.
    if (!makeAlias) makeAlias = shown.count(RemoveTrailingDot(name)) != 0;

    std::string alias;
    if (makeAlias) {
      const int number = NextAliasNumber(aliased, name);
      const std::string digits = std::to_string(number);
      std::size_t keep = baseLength;
      if (baseLength + digits.size() + 1 > 8) keep = 8 - digits.size() - 1;
      alias = name.substr(0, keep) + "~" + digits;
      if (dot != std::string::npos) {
        alias += name.substr(name.rfind('.'), 4);
        if (alias.size() > 12) alias.resize(12);
      }
      aliased.Add(alias, number);
    } else {
      alias = name;
    }
    alias = RemoveTrailingDot(alias);
    shown.insert(alias);
    result.push_back(std::move(alias));
  }
  return result;
}

bool IsDeviceName(const std::string& dosName) {
  // DOSBox opens some of these only when its configuration has the port;
  // DOS always takes them as devices.
  static const std::array<const char*, 11> kDevices = {
      "CON", "NUL", "AUX", "PRN", "COM1", "COM2", "COM3", "COM4", "LPT1", "LPT2", "LPT3"};
  // Whatever the extension: "con.map" is the console.
  const std::string base = text::ToUpper(dosName.substr(0, dosName.find('.')));
  return std::any_of(kDevices.begin(), kDevices.end(),
                     [&](const char* device) { return base == device; });
}

char UnopenableCharacter(const std::string& dosName) {
  for (const char c : dosName) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f) return c;
    if (std::strchr("\"*,/:;<=>?[\\]|% ", c) != nullptr) return c;
  }
  return '\0';
}

char ShellCharacter(const std::string& line) {
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return c;
    if (std::strchr("<>|%\"", c) != nullptr) return c;
  }
  return '\0';
}

}  // namespace platform::dos
