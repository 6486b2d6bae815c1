#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::mailbox {

/// What identifies one file at a moment: another program that writes it, replaces it or removes it
/// changes at least one of these.
struct FileStamp {
  bool exists = false;
  uint64_t size = 0;
  int64_t modifiedSeconds = 0;
  int64_t modifiedNanoseconds = 0;
  int64_t changedNanoseconds = 0;
  uint64_t volume = 0;
  uint64_t identity = 0;

  bool operator==(const FileStamp&) const = default;
};

/// A newsbox's mailbox file and its table of contents at a moment: equal stamps, unchanged files.
struct NewsboxStamp {
  FileStamp mailbox;
  FileStamp toc;

  bool operator==(const NewsboxStamp&) const = default;
};

/// The stamp of the file at `path` now (exists false when it cannot be looked at).
FileStamp StampFile(const std::string& path);
/// The stamp of the mailbox file at `mailboxPath` and of the table of contents beside it.
NewsboxStamp StampNewsbox(const std::string& mailboxPath);
/// The table of contents beside a mailbox file: its ".mbx" replaced by ".toc" (added when missing).
std::string TocPathOf(const std::string& mailboxPath);

}  // namespace tarnwick::mailbox
