#pragma once

// The inputs of the host mailbox fuzz checks: how an input splits into a mailbox file and a table
// of contents, how the pair is put in a data folder, and how a mailbox is read whole.

#include <filesystem>
#include <optional>
#include <set>
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
  std::set<uint32_t> ids;
  for (const host::MessageInfo& message : read.messages) {
    if (!read.problem.empty()) break;
    if (message.id == 0 || !ids.insert(message.id).second)
      read.problem = std::string(what) + " lists an id twice or id 0";
    if (message.state == host::kStateUnread) --unread;
    read.bytes.emplace_back();
    status = store.ReadMessage(mailboxId, message.id, read.bytes.back());
    if (!status.ok || read.bytes.back().empty()) read.problem = std::string(what) + " lists a message it cannot read";
  }
  if (read.problem.empty() && unread != 0)
    read.problem = std::string(what) + " counts other unread messages than it lists";
  return read;
}

}  // namespace tarnwick::fuzz
