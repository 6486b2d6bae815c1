#pragma once

#include "core/change_watch.h"
#include "core/file_ops.h"
#include "core/message_id_index.h"
#include "core/store_status.h"
#include "core/toc_layout.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwick::host {

/// Called at the named points of a write ("appending", "appended", "rewritten") so tests can stop
/// the program there as a crash would, or act as another writer would.
using FaultHook = std::function<void(std::string_view point)>;

/// One mailbox: its file, its table of contents beside it and the index of its messages in memory.
/// The table is kept up to date with every change the host makes; when another program changed the
/// mailbox file or removed the table, Refresh reads the file again and writes a new table, keeping
/// the ids and states of the messages it still finds. Not thread-safe (the store serialises).
class MailboxFile {
public:
  /// A mailbox whose file is `mailboxPath` (ending in ".mbx"); its table has the same name with ".toc".
  explicit MailboxFile(std::string mailboxPath);

  /// The mailbox file.
  const std::string& MailboxPath() const { return mailboxPath_; }
  /// The table of contents beside it.
  const std::string& TocPath() const { return tocPath_; }

  /// Brings the index up to date with the files. Fails when the mailbox file cannot be read.
  StoreStatus Refresh();

  /// The number of messages (as of the last Refresh).
  size_t Count() const { return entries_.size(); }
  /// The number of messages in state unread.
  size_t UnreadCount() const { return unread_; }
  /// The entry at a 0-based position (< Count()).
  const TocEntry& EntryAt(size_t position) const { return entries_[position]; }
  /// All entries in file order.
  const std::vector<TocEntry>& Entries() const { return entries_; }
  /// The position of the message with that id, if it is there.
  std::optional<size_t> PositionOf(uint32_t id) const;

  /// The message's bytes as stored.
  StoreStatus Read(size_t position, std::string& bytes) const;
  /// The value of the message's "Message-Id" header, from the index of them that the first such
  /// question builds with one pass over the file and that is kept while the messages stay the same.
  StoreStatus MessageIdValue(size_t position, std::string& value);
  /// Appends a complete message (separator line first, CR LF last) in the given state and gives
  /// its new id, as one atomic append to the file's end. On failure the file is cut back to what it
  /// was. Another writer's append that got in first is read in as well.
  StoreStatus Append(std::string_view message, int16_t state, uint32_t* newId);
  /// Removes a message: the file is cut short when it is the last one, else rewritten through a
  /// temporary file and a rename.
  StoreStatus Remove(size_t position);
  /// Sets a message's state.
  StoreStatus SetState(size_t position, int16_t state);
  /// Puts a complete message (separator line first, CR LF last) in place of the one at `position`,
  /// which keeps its id and state; the file is rewritten through a temporary file and a rename.
  StoreStatus Replace(size_t position, std::string_view message);

  /// Lets Refresh skip looking at files that the watch saw nobody touch (at most a second long).
  /// The watch must outlive the mailbox.
  void SetChangeWatch(ChangeWatch* watch) { watch_ = watch; }

  /// Installs the hook called at the fault points of Append and Remove (tests only).
  void SetFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }

private:
  bool UnchangedSinceLastLook(std::chrono::steady_clock::time_point now);
  StoreStatus LookAtFiles();
  bool TryLoadToc(const FileState& mailboxState);
  StoreStatus Rebuild(FileState mailboxState);
  // After an append that another writer's got ahead of: reads the file again and gives the id of
  // the message written at `offset`.
  StoreStatus FindAppendedAfterOthers(uint64_t offset, int16_t state, uint32_t* newId);
  // The next id that is neither 0 nor one of `taken`.
  uint32_t NewId(const std::unordered_map<uint32_t, size_t>& taken);
  void AdoptEntries(std::vector<TocEntry> entries, const FileState& mailboxState);
  std::vector<TocEntry> PreviousEntries() const;
  void WriteWholeToc();
  void UpdateTocAfterAppend(bool lastEntryChanged);
  void UpdateTocAfterCut();
  TocHeader Header() const;
  StoreStatus RemoveLast();
  StoreStatus RemoveByRewrite(size_t position);
  // Writes the file anew with the message at `position` replaced by `replacement` (nothing: taken out).
  StoreStatus Rewrite(size_t position, std::string_view replacement);
  void Fault(std::string_view point) const {
    if (faultHook_) faultHook_(point);
  }

  std::string mailboxPath_;
  std::string tocPath_;
  bool loaded_ = false;
  std::vector<TocEntry> entries_;
  std::unordered_map<uint32_t, size_t> positions_;
  size_t unread_ = 0;
  uint32_t nextId_ = 1;
  FileState mailboxState_;
  FileState tocState_;
  bool tocInStep_ = false;  // the table on disk holds exactly the entries in memory
  MessageIdIndex idIndex_;
  ChangeWatch* watch_ = nullptr;
  ChangeStamp stamp_;  // what the watch had seen when the files were last looked at
  bool stampValid_ = false;
  std::chrono::steady_clock::time_point lookedAt_;
  FaultHook faultHook_;
};

}  // namespace tarnwick::host
