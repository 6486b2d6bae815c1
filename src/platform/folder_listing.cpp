#include "platform/folder_listing.h"

#include <cstddef>

namespace tarnwick::platform {
namespace {

char Folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Matches `c` against the set that starts after the "[" at mask[at]; `at` moves past the "]".
// False with `at` unmoved when the set has no closing "]" (the "[" then stands for itself).
bool MatchesSet(std::string_view mask, size_t& at, char c, bool& closed) {
  size_t i = at + 1;
  const bool negated = i < mask.size() && (mask[i] == '!' || mask[i] == '^');
  if (negated) ++i;
  bool matched = false;
  for (bool first = true; i < mask.size() && (first || mask[i] != ']'); first = false) {
    char low = mask[i];
    if (low == '\\' && i + 1 < mask.size()) low = mask[++i];
    char high = low;
    if (i + 2 < mask.size() && mask[i + 1] == '-' && mask[i + 2] != ']') {
      i += 2;
      high = mask[i] == '\\' && i + 1 < mask.size() ? mask[++i] : mask[i];
    }
    ++i;
    const char folded = Folded(c);
    if ((c >= low && c <= high) || (folded >= Folded(low) && folded <= Folded(high))) matched = true;
  }
  closed = i < mask.size();
  if (!closed) return false;
  at = i + 1;
  return matched != negated;
}

}  // namespace

bool MatchesMask(std::string_view mask, std::string_view name) {
  size_t m = 0;
  size_t n = 0;
  size_t starMask = std::string_view::npos;  // where to go on after the last "*"
  size_t starName = 0;
  while (n < name.size()) {
    bool advanced = false;
    if (m < mask.size()) {
      const char wanted = mask[m];
      if (wanted == '*') {
        starMask = ++m;
        starName = n;
        continue;
      }
      if (wanted == '?') {
        ++m;
        ++n;
        advanced = true;
      } else if (wanted == '[') {
        bool closed = false;
        size_t at = m;
        if (MatchesSet(mask, at, name[n], closed)) {
          m = at;
          ++n;
          advanced = true;
        } else if (!closed && name[n] == '[') {
          ++m;
          ++n;
          advanced = true;
        }
      } else {
        const size_t literal = wanted == '\\' && m + 1 < mask.size() ? m + 1 : m;
        if (Folded(mask[literal]) == Folded(name[n])) {
          m = literal + 1;
          ++n;
          advanced = true;
        }
      }
    }
    if (advanced) continue;
    if (starMask == std::string_view::npos) return false;
    m = starMask;
    n = ++starName;
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace tarnwick::platform
