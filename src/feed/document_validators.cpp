#include "feed/document_validators.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

#include "platform/file_io.h"
#include "store/settings_keys.h"

namespace tarnwick::feed {
namespace {

constexpr char kValidatorsSuffix[] = ".validators";

// Writes the value, or removes the key when there is none; touches the file only on a change.
// A value is stored inside one more pair of quotes, which a read takes off again: an entity
// tag's own quotes would otherwise be read as such a pair and lost.
bool KeepKey(const store::SettingsStore& settings, const std::string& alias, const char* key,
             const std::string& value) {
  if (settings.ReadText(alias, key, "") == value) return true;
  return value.empty() ? settings.DeleteKey(alias, key) : settings.WriteText(alias, key, '"' + value + '"');
}

}  // namespace

DocumentValidators ReadFeedValidators(const store::SettingsStore& settings, const std::string& alias) {
  return {settings.ReadText(alias, store::kEntityTagKey, ""), settings.ReadText(alias, store::kLastModifiedKey, "")};
}

bool WriteFeedValidators(const store::SettingsStore& settings, const std::string& alias,
                         const DocumentValidators& validators) {
  bool tagKept = KeepKey(settings, alias, store::kEntityTagKey, validators.entityTag);
  return KeepKey(settings, alias, store::kLastModifiedKey, validators.lastModified) && tagKept;
}

std::string ValidatorsFilePath(const std::string& documentPath) {
  return documentPath + kValidatorsSuffix;
}

bool SaveValidatorsBeside(const std::string& documentPath, const DocumentValidators& validators) {
  const std::string path = ValidatorsFilePath(documentPath);
  if (validators.Empty()) return unlink(path.c_str()) == 0 || errno == ENOENT;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = platform::WriteAll(fd, validators.entityTag + "\n" + validators.lastModified + "\n");
  return close(fd) == 0 && written;
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
