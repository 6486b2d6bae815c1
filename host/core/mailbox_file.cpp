#include "core/mailbox_file.h"

#include "core/host_texts.h"
#include "core/mailbox_scanner.h"
#include "platform/file.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <map>

namespace tarnwick::host {
namespace {

constexpr int kScanAttempts = 3;
constexpr std::chrono::seconds kLongestUnlooked{1};

// The table file's bytes and its state, read through one descriptor so that they agree.
bool ReadToc(const std::string& path, std::string& bytes, FileState& state) {
  platform::File file = platform::File::Open(path, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return false;
  state = StateOf(file);
  bytes.assign(state.size, '\0');
  uint64_t done = 0;
  while (done < state.size) {
    const int64_t got = file.Read(bytes.data() + done, state.size - done);
    if (got <= 0) break;
    done += static_cast<uint64_t>(got);
  }
  return done == state.size;
}

// The entries of a table whose header reads and whose size fits its count; empty otherwise.
std::vector<TocEntry> DecodeEntries(std::string_view bytes, const TocHeader& header) {
  std::vector<TocEntry> entries;
  if (bytes.size() != kTocHeaderSize + uint64_t{header.count} * kTocEntrySize) return entries;
  entries.reserve(header.count);
  for (uint32_t i = 0; i < header.count; ++i) {
    entries.push_back(DecodeTocEntry(bytes.substr(kTocHeaderSize + size_t{i} * kTocEntrySize, kTocEntrySize)));
  }
  return entries;
}

// True when the entries tile the mailbox file from the first message to its end, with distinct ids.
bool EntriesFitFile(const std::vector<TocEntry>& entries, uint64_t fileSize) {
  if (entries.empty()) return true;
  std::unordered_map<uint32_t, bool> seen;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TocEntry& entry = entries[i];
    if (entry.length == 0 || entry.id == 0 || !seen.emplace(entry.id, true).second) return false;
    // Inside the file: an offset near the top of its range would wrap round in the sums below.
    if (entry.offset > fileSize || entry.length > fileSize - entry.offset) return false;
    if (i > 0 && entries[i - 1].offset + entries[i - 1].length != entry.offset) return false;
  }
  return entries.back().offset + entries.back().length == fileSize;
}

}  // namespace

MailboxFile::MailboxFile(std::string mailboxPath) : mailboxPath_(std::move(mailboxPath)) {
  tocPath_ = mailboxPath_;
  if (tocPath_.size() >= 4 && tocPath_.compare(tocPath_.size() - 4, 4, kMailboxExtension) == 0) {
    tocPath_.resize(tocPath_.size() - 4);
  }
  tocPath_ += kTocExtension;
}

std::optional<size_t> MailboxFile::PositionOf(uint32_t id) const {
  auto found = positions_.find(id);
  if (found == positions_.end()) return std::nullopt;
  return found->second;
}

bool MailboxFile::UnchangedSinceLastLook(std::chrono::steady_clock::time_point now) {
  if (watch_ == nullptr || !stampValid_ || !loaded_ || !mailboxState_.exists) return false;
  // A look once a second also catches changes that raise no notice (made from another machine).
  if (now - lookedAt_ >= kLongestUnlooked) return false;
  return watch_->Stamp(mailboxPath_, tocPath_) == stamp_;
}

StoreStatus MailboxFile::Refresh() {
  // A large mailbox is asked about once per message in a row; looking at its two files each time
  // would cost more than the answers.
  const auto now = std::chrono::steady_clock::now();
  if (UnchangedSinceLastLook(now)) return StoreStatus::Success();
  stampValid_ = false;
  if (watch_ != nullptr && watch_->Watch(mailboxPath_)) stamp_ = watch_->Stamp(mailboxPath_, tocPath_);
  StoreStatus status = LookAtFiles();
  stampValid_ = status.ok && watch_ != nullptr;
  lookedAt_ = now;
  return status;
}

StoreStatus MailboxFile::LookAtFiles() {
  int error = 0;
  FileState mailboxState = StatePath(mailboxPath_, &error);
  FileState tocState = StatePath(tocPath_);
  if (loaded_ && mailboxState == mailboxState_ && tocState == tocState_) return StoreStatus::Success();
  if (!mailboxState.exists) return StoreStatus::Failure(CannotReadText(mailboxPath_, error));
  if (TryLoadToc(mailboxState)) return StoreStatus::Success();
  return Rebuild(mailboxState);
}

bool MailboxFile::TryLoadToc(const FileState& mailboxState) {
  std::string bytes;
  FileState tocState;
  if (!ReadToc(tocPath_, bytes, tocState)) return false;
  std::optional<TocHeader> header = DecodeTocHeader(bytes);
  if (!header || header->mailboxSize != mailboxState.size ||
      header->mailboxModifiedSeconds != mailboxState.modifiedSeconds ||
      header->mailboxModifiedNanoseconds != mailboxState.modifiedNanoseconds) {
    return false;
  }
  std::vector<TocEntry> entries = DecodeEntries(bytes, *header);
  if (entries.size() != header->count || !EntriesFitFile(entries, mailboxState.size)) return false;
  nextId_ = std::max(nextId_, header->nextId);
  AdoptEntries(std::move(entries), mailboxState);
  tocState_ = tocState;
  tocInStep_ = true;
  return true;
}

std::vector<TocEntry> MailboxFile::PreviousEntries() const {
  if (loaded_) return entries_;
  std::string bytes;
  FileState ignored;
  if (!ReadToc(tocPath_, bytes, ignored)) return {};
  std::optional<TocHeader> header = DecodeTocHeader(bytes);
  if (!header) return {};
  return DecodeEntries(bytes, *header);
}

StoreStatus MailboxFile::Rebuild(FileState mailboxState) {
  ScanResult scan;
  for (int attempt = 0;; ++attempt) {
    scan = ScanMailboxFile(mailboxPath_);
    if (!scan.ok) return StoreStatus::Failure(scan.errorText);
    mailboxState = StatePath(mailboxPath_);
    if (mailboxState.size == scan.size) break;
    if (attempt + 1 == kScanAttempts) return StoreStatus::Failure(ChangedUnderfootText(mailboxPath_));
  }
  // Messages found again (same length and bytes) keep their ids and states; matches are taken in
  // file order, so a message that moved up after a removal is still recognised.
  std::map<std::pair<uint32_t, uint32_t>, std::deque<const TocEntry*>> known;
  std::vector<TocEntry> previous = PreviousEntries();
  for (const TocEntry& entry : previous) {
    if (entry.id != 0) known[{entry.length, entry.hash}].push_back(&entry);
    nextId_ = std::max(nextId_, entry.id + 1);
  }
  std::unordered_map<uint32_t, size_t> used;
  std::vector<bool> kept(scan.entries.size(), false);
  for (size_t i = 0; i < scan.entries.size(); ++i) {
    TocEntry& entry = scan.entries[i];
    auto match = known.find({entry.length, entry.hash});
    if (match == known.end() || match->second.empty()) continue;
    const TocEntry* old = match->second.front();
    match->second.pop_front();
    if (used.emplace(old->id, i).second) {
      entry.id = old->id;
      entry.state = old->state;
      kept[i] = true;
    }
  }
  // New ids only once every kept one is known, so that none is handed out twice.
  for (size_t i = 0; i < scan.entries.size(); ++i) {
    if (!kept[i]) used.emplace(scan.entries[i].id = NewId(used), i);
  }
  AdoptEntries(std::move(scan.entries), mailboxState);
  WriteWholeToc();
  return StoreStatus::Success();
}

uint32_t MailboxFile::NewId(const std::unordered_map<uint32_t, size_t>& taken) {
  // The count wraps round only after a damaged table handed over an id near the top of the range.
  while (nextId_ == 0 || taken.contains(nextId_)) ++nextId_;
  return nextId_++;
}

void MailboxFile::AdoptEntries(std::vector<TocEntry> entries, const FileState& mailboxState) {
  entries_ = std::move(entries);
  positions_.clear();
  positions_.reserve(entries_.size());
  unread_ = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    positions_[entries_[i].id] = i;
    if (entries_[i].state == kStateUnread) ++unread_;
    nextId_ = std::max(nextId_, entries_[i].id + 1);
  }
  idIndex_.KeepOnly(entries_);
  mailboxState_ = mailboxState;
  loaded_ = true;
}

TocHeader MailboxFile::Header() const {
  TocHeader header;
  header.mailboxSize = mailboxState_.size;
  header.mailboxModifiedSeconds = mailboxState_.modifiedSeconds;
  header.mailboxModifiedNanoseconds = mailboxState_.modifiedNanoseconds;
  header.nextId = nextId_;
  header.count = static_cast<uint32_t>(entries_.size());
  return header;
}

void MailboxFile::WriteWholeToc() {
  std::string bytes = EncodeTocHeader(Header());
  bytes.reserve(kTocHeaderSize + entries_.size() * kTocEntrySize);
  for (const TocEntry& entry : entries_) bytes += EncodeTocEntry(entry);
  // A table that cannot be written (a read-only folder) leaves the index in memory; the state
  // remembered is the table's real one, so the next refresh does not read the mailbox again.
  tocInStep_ = ReplaceFile(tocPath_, bytes, &tocState_).ok;
  if (!tocInStep_) tocState_ = StatePath(tocPath_);
}

StoreStatus MailboxFile::Read(size_t position, std::string& bytes) const {
  const TocEntry& entry = entries_[position];
  return ReadRange(mailboxPath_, entry.offset, entry.length, bytes);
}

StoreStatus MailboxFile::MessageIdValue(size_t position, std::string& value) {
  const std::string* known = idIndex_.Find(entries_[position]);
  if (known == nullptr) {
    StoreStatus status = idIndex_.Fill(mailboxPath_, entries_);
    if (!status.ok) return status;
    known = idIndex_.Find(entries_[position]);
  }
  value = known != nullptr ? *known : std::string();
  return StoreStatus::Success();
}

StoreStatus MailboxFile::SetState(size_t position, int16_t state) {
  TocEntry& entry = entries_[position];
  const int16_t previous = entry.state;
  if (previous == state) return StoreStatus::Success();
  entry.state = state;
  bool written = false;
  int error = EIO;
  if (tocInStep_) {
    platform::File file =
        platform::File::Open(tocPath_, platform::FileAccess::kWrite, platform::FileCreation::kExisting);
    if (file.IsOpen()) {
      std::string bytes(2, '\0');
      bytes[0] = static_cast<char>(static_cast<uint16_t>(state) & 0xFF);
      bytes[1] = static_cast<char>(static_cast<uint16_t>(state) >> 8);
      written = file.WriteAt(bytes, kTocHeaderSize + position * kTocEntrySize + kTocStateOffset);
      tocState_ = StateOf(file);
      file.Close();
    }
    error = errno;
  }
  if (!written) {
    WriteWholeToc();
    written = tocInStep_;
  }
  if (!written) {
    // The state lives in the table only: one that cannot be written keeps the old state.
    entry.state = previous;
    return StoreStatus::Failure(CannotWriteText(tocPath_, error));
  }
  if (previous == kStateUnread) --unread_;
  if (state == kStateUnread) ++unread_;
  return StoreStatus::Success();
}

}  // namespace tarnwick::host
