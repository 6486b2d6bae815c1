#include "opml/feed_alias.h"

#include "store/fitting_text.h"
#include "store/settings_store.h"

namespace tarnwick::opml {
namespace {

constexpr int kMaxAliasNumber = 999;

std::string TrimOuterBlanks(std::string text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string StorableAlias(std::string_view title, size_t maxBytes) {
  std::string alias;
  for (char c : title) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) continue;
    alias += c == '[' ? '(' : c == ']' ? ')' : c == '=' ? '-' : c;
  }
  const size_t first = alias.find_first_not_of("; ");
  alias.erase(0, first == std::string::npos ? alias.size() : first);
  return TrimOuterBlanks(store::CutBetweenCharacters(alias, maxBytes));
}

std::string UniqueAlias(const std::string& alias, const std::vector<std::string>& aliasEntries) {
  if (!store::AliasExists(aliasEntries, alias)) return alias;
  for (int number = 2; number <= kMaxAliasNumber; ++number) {
    const std::string suffix = " (" + std::to_string(number) + ")";
    const std::string candidate =
        TrimOuterBlanks(store::CutBetweenCharacters(alias, kMaxImportedAliasBytes - suffix.size())) + suffix;
    if (!store::AliasExists(aliasEntries, candidate)) return candidate;
  }
  return {};
}

}  // namespace tarnwick::opml
