#include "store/file_utilities.h"

#include "platform/application_name.h"
#include "platform/file_io.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/text.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace tarnwick::store {
namespace {

constexpr size_t kMinimumPathLength = 4;
constexpr char kUnsafeCharacters[] = "\\/:*?!\"'<>|";
constexpr char kFallbackName[] = "file";
constexpr char kFeedCacheExtension[] = ".rss";
constexpr char kMailboxExtension[] = ".mbx";
constexpr char kTableOfContentsExtension[] = ".toc";

bool IsUnsafe(char c) {
  return c == '\0' || std::strchr(kUnsafeCharacters, c) != nullptr;
}

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// How many bytes the UTF-8 sequence that starts with this byte has; 1 for a byte that starts none.
size_t SequenceLength(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte & 0xE0) == 0xC0) return 2;
  if ((byte & 0xF0) == 0xE0) return 3;
  if ((byte & 0xF8) == 0xF0) return 4;
  return 1;
}

// The length of the longest start of the text within `limit` bytes that does not end inside a
// UTF-8 sequence: a character that the limit would cut is left out whole. Bytes that are not
// UTF-8 (a name in a single-byte character set) count as characters of their own.
size_t CharacterBoundary(std::string_view text, size_t limit) {
  if (text.size() <= limit) return text.size();
  size_t lead = limit;
  while (lead > 0 && limit - lead < 3 && IsContinuationByte(text[lead])) --lead;
  return lead + SequenceLength(text[lead]) > limit ? lead : limit;
}

}  // namespace

bool FileExists(const std::string& path) {
  return path.size() >= kMinimumPathLength && platform::PathInfo(path).exists;
}

bool FolderExists(const std::string& path) {
  return path.size() >= kMinimumPathLength && platform::IsFolder(path);
}

std::string SafeFileName(const std::string& text, size_t suffixBytes) {
  std::string safe;
  for (char c : text) {
    if (!IsUnsafe(c)) safe += c;
  }
  safe.resize(CharacterBoundary(safe, suffixBytes < kMaxFileNameBytes ? kMaxFileNameBytes - suffixBytes : 0));
  if (safe.empty()) safe = kFallbackName;
  return safe;
}

std::string HostExecutablePath() {
  std::string path = platform::ExecutablePath();
  return path.empty() ? "-1" : path;
}

std::string FeedCachePath(const std::string& dataFolder, const std::string& alias) {
  const std::string extension = kFeedCacheExtension;
  return dataFolder + "/Feeds/" + SafeFileName(alias, extension.size()) + extension;
}

std::string MailboxFilePath(const std::string& dataFolder, const std::string& mailboxName, bool tableOfContents) {
  const std::string extension = tableOfContents ? kTableOfContentsExtension : kMailboxExtension;
  return dataFolder + "/" + platform::TrimWhiteSpace(SafeFileName(mailboxName, extension.size())) + extension;
}

std::string NumberedFilePath(const std::string& folder, const std::string& name, const std::string& extension,
                             bool numbered, bool noCreate) {
  if (!FolderExists(folder) && !platform::MakeFolder(folder)) return {};
  std::string digits;
  // The digits and the extension stand whole; the name is cut to leave them room.
  auto candidate = [&] {
    const std::string suffix = digits + "." + extension;
    const std::string fileName = SafeFileName(name, suffix.size()) + suffix;
    return fileName.size() > kMaxFileNameBytes ? std::string() : folder + "/" + fileName;
  };
  if (numbered) {
    for (int counter = 1; FileExists(candidate()); ++counter) digits += std::to_string(counter);
  }
  std::string path = candidate();
  if (!noCreate) {
    if (!platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kTruncate).IsOpen())
      return {};
  }
  return path;
}

bool AppendLine(const std::string& path, const std::string& text) {
  platform::File file = platform::File::Open(path, platform::FileAccess::kAppend, platform::FileCreation::kCreate);
  if (!file.IsOpen()) return false;
  bool written = text.empty() || file.WriteAll(text + "\n");
  return file.Close() && written;
}

bool TruncateFile(const std::string& path) {
  return platform::File::Open(path, platform::FileAccess::kReadWrite, platform::FileCreation::kTruncate).IsOpen();
}

bool CreateIfMissing(const std::string& path) {
  if (!FileExists(path)) {
    (void)platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kCreate);
  }
  return true;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (!platform::ReadFileIfPresent(path, bytes)) {
    platform::ShowMessageBox(path + " cannot be opened: " + platform::SystemErrorText(errno),
                             platform::kApplicationName);
    return {};
  }
  return bytes.substr(0, bytes.find('\0'));
}

}  // namespace tarnwick::store
