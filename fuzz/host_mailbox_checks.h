#pragma once

// What must hold when the host reads any mailbox file, with or without a table of contents beside
// it: every message it lists reads back, moves conserve the messages, and the table it writes is
// read again as it was. Shared by the fuzz target and by the unit test that replays the corpus.
//
// An input is the bytes of a mailbox file, optionally followed by a table of contents starting at
// the first occurrence of the table's magic text. A table whose header the host recognises gets
// the mailbox file's real size and time written into it, so that the host takes it as current.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_ops.h"
#include "core/mail_store.h"
#include "core/toc_layout.h"
#include "ini_check_helpers.h"

namespace tarnwick::fuzz {

/// A mailbox file and the table of contents beside it, if any.
struct MailboxFuzzInput {
  std::string mailbox;
  std::optional<std::string> toc;
};

/// The input split at the first "MBXTOC1", where the table starts.
inline MailboxFuzzInput SplitMailboxFuzzInput(std::string_view data) {
  size_t mark = data.find("MBXTOC1");
  if (mark == std::string_view::npos) return {std::string(data), std::nullopt};
  return {std::string(data.substr(0, mark)), std::string(data.substr(mark))};
}

/// Writes the mailbox, then the table with the mailbox's state put into its header when it has one.
inline bool WriteMailboxPair(const MailboxFuzzInput& input, const std::string& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
  const std::string mailboxPath = folder + "/Fuzz.mbx";
  if (!WriteWholeFile(mailboxPath, input.mailbox)) return false;
  if (!input.toc) return true;
  std::string toc = *input.toc;
  if (std::optional<host::TocHeader> header = host::DecodeTocHeader(toc)) {
    host::FileState state = host::StatePath(mailboxPath);
    header->mailboxSize = state.size;
    header->mailboxModifiedSeconds = state.modifiedSeconds;
    header->mailboxModifiedNanoseconds = state.modifiedNanoseconds;
    toc.replace(0, host::kTocHeaderSize, host::EncodeTocHeader(*header));
  }
  return WriteWholeFile(folder + "/Fuzz.toc", toc);
}

/// The messages of a mailbox with their bytes; a problem when one cannot be listed or read.
struct ReadMailbox {
  std::vector<host::MessageInfo> messages;
  std::vector<std::string> bytes;
  std::string problem;
};

inline ReadMailbox ReadAllMessages(host::MailStore& store, int32_t mailboxId, const char* what) {
  ReadMailbox read;
  host::StoreStatus status = store.ListMessages(mailboxId, read.messages);
  if (!status.ok) read.problem = std::string(what) + " cannot be listed: " + status.errorText;
  size_t count = 0;
  size_t unread = 0;
  if (read.problem.empty() && (!store.Counts(mailboxId, &count, &unread).ok || count != read.messages.size())) {
    read.problem = std::string(what) + " counts other than it lists";
  }
  for (const host::MessageInfo& message : read.messages) {
    if (!read.problem.empty()) break;
    if (message.state == host::kStateUnread) --unread;
    read.bytes.emplace_back();
    status = store.ReadMessage(mailboxId, message.id, read.bytes.back());
    if (!status.ok || read.bytes.back().empty()) read.problem = std::string(what) + " lists a message it cannot read";
  }
  if (read.problem.empty() && unread != 0) read.problem = std::string(what) + " counts other unread messages than it lists";
  return read;
}

/// Empty when the host handled the mailbox soundly; otherwise what went wrong. Everything in
/// `folder` is replaced.
inline std::string CheckHostMailboxInput(const MailboxFuzzInput& input, const std::string& folder) {
  if (!WriteMailboxPair(input, folder)) return "cannot write the mailbox";
  std::string error;
  std::unique_ptr<host::MailStore> store = host::MailStore::Open(folder, error);
  if (!store) return "the data folder does not open: " + error;
  const int32_t fuzzId = store->FindMailboxByName("Fuzz");
  const int32_t inId = host::kInMailboxId;
  ReadMailbox before = ReadAllMessages(*store, fuzzId, "the mailbox");
  if (!before.problem.empty()) return before.problem;
  size_t total = 0;
  for (const std::string& bytes : before.bytes) total += bytes.size();
  if (total > input.mailbox.size()) return "the messages hold more than the mailbox file";
  if (before.messages.empty()) return {};

  // Move one message out and back in: the two mailboxes hold the same messages throughout.
  const size_t chosen = input.mailbox.size() % before.messages.size();
  uint32_t movedId = 0;
  host::StoreStatus status = store->MoveMessage(fuzzId, before.messages[chosen].id, inId, &movedId);
  if (!status.ok) return "moving a message out failed: " + status.errorText;
  ReadMailbox source = ReadAllMessages(*store, fuzzId, "the mailbox after a move");
  ReadMailbox target = ReadAllMessages(*store, inId, "the target after a move");
  if (!source.problem.empty() || !target.problem.empty()) return source.problem + target.problem;
  if (source.messages.size() + 1 != before.messages.size() || target.messages.size() != 1) {
    return "a move did not conserve the messages";
  }
  std::vector<std::string> rest = before.bytes;
  rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(chosen));
  if (source.bytes != rest) return "the messages left behind changed in a move";
  if (target.messages[0].state != before.messages[chosen].state) return "a moved message lost its state";
  if (!(status = store->MoveMessage(inId, movedId, fuzzId, nullptr)).ok) return "moving back failed: " + status.errorText;
  ReadMailbox back = ReadAllMessages(*store, fuzzId, "the mailbox after moving back");
  if (!back.problem.empty()) return back.problem;
  if (back.messages.size() != before.messages.size() || back.bytes.back() != target.bytes[0]) {
    return "moving back did not restore the message";
  }

  // The table the host wrote is taken as it is by a store opened afresh.
  std::unique_ptr<host::MailStore> reopened = host::MailStore::Open(folder, error);
  if (!reopened) return "the data folder does not open again: " + error;
  ReadMailbox again = ReadAllMessages(*reopened, reopened->FindMailboxByName("Fuzz"), "the mailbox reopened");
  if (!again.problem.empty()) return again.problem;
  if (again.bytes != back.bytes) return "the mailbox reads otherwise when opened again";
  for (size_t i = 0; i < again.messages.size(); ++i) {
    if (again.messages[i].id != back.messages[i].id || again.messages[i].state != back.messages[i].state) {
      return "ids or states changed when the mailbox was opened again";
    }
  }
  return {};
}

}  // namespace tarnwick::fuzz
