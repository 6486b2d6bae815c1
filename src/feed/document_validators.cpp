#include "feed/document_validators.h"

#include <cerrno>

#include "platform/file_io.h"
#include "platform/file_system.h"
#include "store/settings_keys.h"

namespace tarnwick::feed {
namespace {

constexpr char kValidatorsSuffix[] = ".validators";

// The change that keeps the value, or removes the key when there is none; none when the file
// holds it already. A value is stored inside one more pair of quotes, which a read takes off
// again: an entity tag's own quotes would otherwise be read as such a pair and lost.
void KeepKey(const store::SettingsStore& settings, const std::string& alias, const char* key, const std::string& value,
             std::vector<platform::IniChange>& changes) {
  if (settings.ReadText(alias, key, "") == value) return;
  std::optional<std::string> stored;
  if (!value.empty()) stored = '"' + value + '"';
  changes.push_back({alias, key, std::move(stored)});
}

}  // namespace

DocumentValidators ReadFeedValidators(const store::SettingsStore& settings, const std::string& alias) {
  return {settings.ReadText(alias, store::kEntityTagKey, ""), settings.ReadText(alias, store::kLastModifiedKey, "")};
}

std::vector<platform::IniChange> FeedValidatorChanges(const store::SettingsStore& settings, const std::string& alias,
                                                      const DocumentValidators& validators) {
  std::vector<platform::IniChange> changes;
  KeepKey(settings, alias, store::kEntityTagKey, validators.entityTag, changes);
  KeepKey(settings, alias, store::kLastModifiedKey, validators.lastModified, changes);
  return changes;
}

std::string ValidatorsFilePath(const std::string& documentPath) {
  return documentPath + kValidatorsSuffix;
}

bool SaveValidatorsBeside(const std::string& documentPath, const DocumentValidators& validators) {
  const std::string path = ValidatorsFilePath(documentPath);
  if (validators.Empty()) return platform::RemoveFile(path) || errno == ENOENT;
  platform::File file = platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kTruncate);
  if (!file.IsOpen()) return false;
  bool written = file.WriteAll(validators.entityTag + "\n" + validators.lastModified + "\n");
  return file.Close() && written;
}

DocumentValidators ReadValidatorsBeside(const std::string& documentPath) {
  std::string bytes;
  if (!platform::ReadFileIfPresent(ValidatorsFilePath(documentPath), bytes)) return {};
  std::string::size_type firstEnd = bytes.find('\n');
  if (firstEnd == std::string::npos) return {};
  std::string::size_type secondEnd = bytes.find('\n', firstEnd + 1);
  if (secondEnd == std::string::npos) return {};
  return {bytes.substr(0, firstEnd), bytes.substr(firstEnd + 1, secondEnd - firstEnd - 1)};
}

}  // namespace tarnwick::feed
