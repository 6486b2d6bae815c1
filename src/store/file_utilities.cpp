#include "store/file_utilities.h"

#include "platform/application_name.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "platform/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace tarnwick::store {
namespace {

constexpr size_t kMinimumPathLength = 4;
constexpr size_t kMaxSafeNameLength = 255;
constexpr char kUnsafeCharacters[] = "\\/:*?!\"'<>|";

bool IsUnsafe(char c) { return c == '\0' || std::strchr(kUnsafeCharacters, c) != nullptr; }

// Opens for writing with the given extra flags; the caller closes. -1 on failure.
int OpenForWriting(const std::string& path, int flags) {
  return open(path.c_str(), O_WRONLY | O_CLOEXEC | flags, 0644);
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info {};
  return path.size() >= kMinimumPathLength && stat(path.c_str(), &info) == 0;
}

bool FolderExists(const std::string& path) {
  struct stat info {};
  return path.size() >= kMinimumPathLength && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string SafeFileName(const std::string& text) {
  std::string safe;
  for (char c : text) {
    if (!IsUnsafe(c)) safe += c;
  }
  if (safe.size() > kMaxSafeNameLength) safe.resize(kMaxSafeNameLength);
  if (safe.empty()) safe = "file";
  return safe;
}

std::string HostExecutablePath() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "-1";
  return std::string(buffer, static_cast<size_t>(length));
}

std::string FeedCachePath(const std::string& dataFolder, const std::string& alias) {
  return dataFolder + "/Feeds/" + SafeFileName(alias) + ".rss";
}

std::string MailboxFilePath(const std::string& dataFolder, const std::string& mailboxName, bool tableOfContents) {
  return dataFolder + "/" + platform::TrimWhiteSpace(SafeFileName(mailboxName)) + (tableOfContents ? ".toc" : ".mbx");
}

std::string NumberedFilePath(const std::string& folder, const std::string& name, const std::string& extension,
                             bool numbered, bool noCreate) {
  std::string base = SafeFileName(name);
  if (!FolderExists(folder) && mkdir(folder.c_str(), 0755) != 0) return {};
  auto candidate = [&] { return folder + "/" + base + "." + extension; };
  if (numbered) {
    for (int counter = 1; FileExists(candidate()); ++counter) base += std::to_string(counter);
  }
  std::string path = candidate();
  if (!noCreate) {
    int fd = OpenForWriting(path, O_CREAT | O_TRUNC);
    if (fd < 0) return {};
    close(fd);
  }
  return path;
}

bool AppendLine(const std::string& path, const std::string& text) {
  int fd = OpenForWriting(path, O_CREAT | O_APPEND);
  if (fd < 0) return false;
  bool written = text.empty() || platform::WriteAll(fd, text + "\n");
  return close(fd) == 0 && written;
}

bool TruncateFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool CreateIfMissing(const std::string& path) {
  if (!FileExists(path)) {
    int fd = OpenForWriting(path, O_CREAT);
    if (fd >= 0) close(fd);
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
