// The writing half of MailboxFile: appending, removing, and keeping the table of contents in step.
// Every change writes the mailbox file first and the table's header last, and the header records
// the mailbox file's size and time: a crash in between leaves a table that no longer matches, which
// the next refresh notices and rebuilds.
#include "core/host_texts.h"
#include "core/mailbox_file.h"
#include "core/mailbox_scanner.h"
#include "core/mbox_format.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace tarnwick::host {
namespace {

constexpr char kCrLf[] = "\r\n";
constexpr size_t kCopyBufferSize = 1 << 20;

// Copies `length` bytes at `offset` of `from` to the current end of `to`.
bool CopyRange(int from, int to, uint64_t offset, uint64_t length) {
  auto position = static_cast<off_t>(offset);
  while (length > 0) {
    ssize_t copied = copy_file_range(from, &position, to, nullptr, length, 0);
    if (copied < 0 && errno == EINTR) continue;
    if (copied <= 0) break;  // not supported here, or the file got shorter: go on with read and write
    length -= static_cast<uint64_t>(copied);
  }
  std::string buffer;
  while (length > 0) {
    buffer.resize(std::min<uint64_t>(length, kCopyBufferSize));
    ssize_t got = pread(from, buffer.data(), buffer.size(), position);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    if (write(to, buffer.data(), static_cast<size_t>(got)) != got) return false;
    position += got;
    length -= static_cast<uint64_t>(got);
  }
  return true;
}

}  // namespace

StoreStatus MailboxFile::Append(std::string_view message, int16_t state, uint32_t* newId) {
  // O_APPEND and one write: another writer's message can come before this one or after it, never
  // inside it or on top of it.
  int fd = open(mailboxPath_.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
  if (fd < 0) return StoreStatus::Failure(CannotWriteText(mailboxPath_, errno));
  const uint64_t oldSize = mailboxState_.size;
  if (StateOfDescriptor(fd).size != oldSize) {
    close(fd);
    return StoreStatus::Failure(ChangedUnderfootText(mailboxPath_));
  }
  // A file written by another program may end without a line end; the new message must start a line.
  std::string_view prefix;
  char last = '\n';
  if (oldSize > 0 && pread(fd, &last, 1, static_cast<off_t>(oldSize - 1)) == 1 && last != '\n') prefix = kCrLf;
  std::string bytes;
  bytes.reserve(prefix.size() + message.size());
  bytes.append(prefix).append(message);
  Fault("appending");
  uint64_t start = 0;
  uint64_t written = 0;
  if (!AppendAtEnd(fd, bytes, start, written)) {
    int error = errno;
    // Cut off the part written, unless another writer has appended after it.
    if (written > 0 && StateOfDescriptor(fd).size == start + written && ftruncate(fd, static_cast<off_t>(start)) != 0) {
      // The file keeps a partial message; the next refresh reads it as one.
    }
    close(fd);
    mailboxState_ = FileState{};  // forces a re-read
    return StoreStatus::Failure(CannotWriteText(mailboxPath_, error));
  }
  mailboxState_ = StateOfDescriptor(fd);
  close(fd);
  if (start != oldSize) return FindAppendedAfterOthers(start + prefix.size(), state, newId);

  if (!prefix.empty() && !entries_.empty()) {
    entries_.back().length += static_cast<uint32_t>(prefix.size());
    entries_.back().hash = ContinueHash(entries_.back().hash, prefix);
  }
  TocEntry entry;
  entry.offset = oldSize + prefix.size();
  entry.length = static_cast<uint32_t>(message.size());
  entry.state = state;
  entry.flags = IsSeparatorLine(message) ? kEntryHasSeparator : 0;
  entry.id = NewId(positions_);
  entry.hash = ContinueHash(kHashStart, message);
  entry.summary = SummaryOfMessage(message);
  positions_[entry.id] = entries_.size();
  if (state == kStateUnread) ++unread_;
  if (newId != nullptr) *newId = entry.id;
  idIndex_.Add(entry, message);
  entries_.push_back(std::move(entry));
  UpdateTocAfterAppend(!prefix.empty() && entries_.size() > 1);
  return StoreStatus::Success();
}

StoreStatus MailboxFile::FindAppendedAfterOthers(uint64_t offset, int16_t state, uint32_t* newId) {
  mailboxState_ = FileState{};
  StoreStatus status = Refresh();
  if (!status.ok) return status;
  for (size_t position = 0; position < entries_.size(); ++position) {
    if (entries_[position].offset != offset) continue;
    if (newId != nullptr) *newId = entries_[position].id;
    return SetState(position, state);
  }
  return StoreStatus::Failure(ChangedUnderfootText(mailboxPath_));
}

void MailboxFile::UpdateTocAfterAppend(bool lastEntryChanged) {
  if (!tocInStep_) return WriteWholeToc();
  int fd = open(tocPath_.c_str(), O_WRONLY | O_CLOEXEC);
  size_t count = entries_.size();
  bool written = fd >= 0;
  written = written && WriteAt(fd, EncodeTocEntry(entries_.back()), kTocHeaderSize + (count - 1) * kTocEntrySize);
  if (written && lastEntryChanged) {
    written = WriteAt(fd, EncodeTocEntry(entries_[count - 2]), kTocHeaderSize + (count - 2) * kTocEntrySize);
  }
  written = written && WriteAt(fd, EncodeTocHeader(Header()), 0);
  if (fd >= 0) {
    tocState_ = StateOfDescriptor(fd);
    close(fd);
  }
  if (!written) WriteWholeToc();
}

void MailboxFile::UpdateTocAfterCut() {
  if (!tocInStep_) return WriteWholeToc();
  int fd = open(tocPath_.c_str(), O_WRONLY | O_CLOEXEC);
  bool written = fd >= 0 && ftruncate(fd, static_cast<off_t>(kTocHeaderSize + entries_.size() * kTocEntrySize)) == 0 &&
                 WriteAt(fd, EncodeTocHeader(Header()), 0);
  if (fd >= 0) {
    tocState_ = StateOfDescriptor(fd);
    close(fd);
  }
  if (!written) WriteWholeToc();
}

StoreStatus MailboxFile::Remove(size_t position) {
  if (position + 1 == entries_.size()) return RemoveLast();
  return RemoveByRewrite(position);
}

StoreStatus MailboxFile::RemoveLast() {
  const TocEntry& entry = entries_.back();
  int fd = open(mailboxPath_.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return StoreStatus::Failure(CannotWriteText(mailboxPath_, errno));
  if (ftruncate(fd, static_cast<off_t>(entry.offset)) != 0) {
    int error = errno;
    close(fd);
    return StoreStatus::Failure(CannotWriteText(mailboxPath_, error));
  }
  mailboxState_ = StateOfDescriptor(fd);
  close(fd);
  if (entry.state == kStateUnread) --unread_;
  positions_.erase(entry.id);
  idIndex_.Forget(entry.id);
  entries_.pop_back();
  UpdateTocAfterCut();
  return StoreStatus::Success();
}

StoreStatus MailboxFile::RemoveByRewrite(size_t position) {
  const TocEntry removed = entries_[position];
  StoreStatus status = Rewrite(position, {});
  if (!status.ok) return status;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  for (size_t i = position; i < entries_.size(); ++i) entries_[i].offset -= removed.length;
  if (removed.state == kStateUnread) --unread_;
  positions_.erase(removed.id);
  idIndex_.Forget(removed.id);
  for (size_t i = position; i < entries_.size(); ++i) positions_[entries_[i].id] = i;
  WriteWholeToc();
  return StoreStatus::Success();
}

StoreStatus MailboxFile::Replace(size_t position, std::string_view message) {
  if (message.empty()) return StoreStatus::Failure(CannotWriteText(mailboxPath_, EINVAL));
  const uint32_t oldLength = entries_[position].length;
  StoreStatus status = Rewrite(position, message);
  if (!status.ok) return status;
  TocEntry& entry = entries_[position];
  idIndex_.Forget(entry.id);
  entry.length = static_cast<uint32_t>(message.size());
  entry.flags = IsSeparatorLine(message) ? kEntryHasSeparator : 0;
  entry.hash = ContinueHash(kHashStart, message);
  entry.summary = SummaryOfMessage(message);
  for (size_t i = position + 1; i < entries_.size(); ++i) {
    entries_[i].offset = entries_[i].offset - oldLength + entry.length;
  }
  WriteWholeToc();
  return StoreStatus::Success();
}

StoreStatus MailboxFile::Rewrite(size_t position, std::string_view replacement) {
  const TocEntry& old = entries_[position];
  int from = open(mailboxPath_.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) return StoreStatus::Failure(CannotReadText(mailboxPath_, errno));
  std::string temporaryPath;
  std::string errorText;
  int to = CreateSiblingTemporary(mailboxPath_, temporaryPath, errorText);
  if (to < 0) {
    close(from);
    return StoreStatus::Failure(errorText);
  }
  uint64_t tail = old.offset + old.length;
  bool copied = CopyRange(from, to, 0, old.offset) && WriteAt(to, replacement, old.offset) &&
                lseek(to, 0, SEEK_END) >= 0 && CopyRange(from, to, tail, mailboxState_.size - tail) && fsync(to) == 0;
  int error = errno;
  FileState newState = StateOfDescriptor(to);
  close(from);
  close(to);
  if (!copied || newState.size != mailboxState_.size - old.length + replacement.size()) {
    unlink(temporaryPath.c_str());
    return StoreStatus::Failure(CannotWriteText(mailboxPath_, copied ? EIO : error));
  }
  Fault("rewritten");
  if (rename(temporaryPath.c_str(), mailboxPath_.c_str()) != 0) {
    error = errno;
    unlink(temporaryPath.c_str());
    return StoreStatus::Failure(CannotWriteText(mailboxPath_, error));
  }
  mailboxState_ = newState;
  return StoreStatus::Success();
}

}  // namespace tarnwick::host
