#include "store/fitting_text.h"

#include "platform/text.h"
#include "store/settings_store.h"

namespace tarnwick::store {
namespace {

constexpr char kMailboxFileEnd[] = ".mbx";

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string CutBetweenCharacters(std::string_view text, size_t bytes) {
  if (text.size() <= bytes) return std::string(text);
  while (bytes > 0 && IsContinuationByte(text[bytes])) --bytes;
  return std::string(text.substr(0, bytes));
}

std::string FittingName(const std::string& alias, const std::string& name) {
  const size_t used = alias.size() + 1;  // the alias and its "="
  const size_t room = used < SettingsStore::kMaxEntryLength ? SettingsStore::kMaxEntryLength - used : 0;
  return platform::TrimBlanks(CutBetweenCharacters(name, room));
}

std::string FittingMailboxName(const std::string& dataFolder, const std::string& name) {
  // The file name is never longer than the name it is made from (unsafe characters are dropped).
  const size_t used = dataFolder.size() + 1 + (sizeof kMailboxFileEnd - 1);
  const size_t room = used < SettingsStore::kMaxTextLength ? SettingsStore::kMaxTextLength - used : 0;
  return platform::TrimWhiteSpace(CutBetweenCharacters(name, room));
}

}  // namespace tarnwick::store
