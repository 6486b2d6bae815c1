#pragma once

// What must hold when the host reads any mailbox file, with or without a table of contents beside
// it: every message it lists reads back, moves conserve the messages, and the table it writes is
// read again as it was. Shared by the fuzz target and by the unit test that replays the corpus.
//
// An input is the bytes of a mailbox file, optionally followed by a table of contents starting at
// the first occurrence of the table's magic text. A table whose header the host recognises gets
// the mailbox file's real size and time written into it, so that the host takes it as current.

#include <memory>
#include <string>
#include <vector>

#include "core/mail_store.h"
#include "core/mbox_format.h"
#include "host_mailbox_input.h"

namespace tarnwick::fuzz {

/// Moves the chosen message of a non-empty mailbox into the empty In mailbox and back, twice:
/// the two hold the same messages throughout. `back` receives the mailbox's messages at the end.
inline std::string CheckMovesOutAndBack(host::MailStore& store, int32_t fuzzId, const ReadMailbox& before,
                                        size_t chosen, ReadMailbox& back) {
  const int32_t inId = host::kInMailboxId;
  uint32_t movedId = 0;
  host::StoreStatus status = store.MoveMessage(fuzzId, before.messages[chosen].id, inId, &movedId);
  if (!status.ok) return "moving a message out failed: " + status.errorText;
  ReadMailbox source = ReadAllMessages(store, fuzzId, "the mailbox after a move");
  ReadMailbox target = ReadAllMessages(store, inId, "the target after a move");
  if (!source.problem.empty() || !target.problem.empty()) return source.problem + target.problem;
  if (source.messages.size() + 1 != before.messages.size() || target.messages.size() != 1) {
    return "a move did not conserve the messages";
  }
  std::vector<std::string> rest = before.bytes;
  rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(chosen));
  if (source.bytes != rest) return "the messages left behind changed in a move";
  if (target.messages[0].state != before.messages[chosen].state) return "a moved message lost its state";
  if (!target.bytes[0].starts_with(host::kSeparatorPrefix) || !target.bytes[0].ends_with("\r\n")) {
    return "a moved message is not stored whole, separator first and CR LF last";
  }
  if (!(status = store.MoveMessage(inId, movedId, fuzzId, nullptr)).ok)
    return "moving back failed: " + status.errorText;
  back = ReadAllMessages(store, fuzzId, "the mailbox after moving back");
  if (!back.problem.empty()) return back.problem;
  if (back.messages.size() != before.messages.size() || back.bytes.back() != target.bytes[0]) {
    return "moving back did not restore the message";
  }
  // Once more, so that the mailbox hands out a second new id.
  if (!(status = store.MoveMessage(fuzzId, back.messages.back().id, inId, &movedId)).ok ||
      !(status = store.MoveMessage(inId, movedId, fuzzId, nullptr)).ok) {
    return "moving the message a second time failed: " + status.errorText;
  }
  back = ReadAllMessages(store, fuzzId, "the mailbox after a second move");
  return back.problem;
}

/// Empty when the host handled the mailbox soundly; otherwise what went wrong. Everything in
/// `folder` is replaced.
inline std::string CheckHostMailboxInput(const MailboxFuzzInput& input, const std::string& folder) {
  if (!WriteMailboxPair(input, folder)) return "cannot write the mailbox";
  std::string error;
  std::unique_ptr<host::MailStore> store = host::MailStore::Open(folder, error);
  if (!store) return "the data folder does not open: " + error;
  const int32_t fuzzId = store->FindMailboxByName("Fuzz");
  ReadMailbox before = ReadAllMessages(*store, fuzzId, "the mailbox");
  if (!before.problem.empty()) return before.problem;
  // The messages follow each other to the end of the file: nothing between them is lost.
  std::string joined;
  for (const std::string& bytes : before.bytes) joined += bytes;
  if (!input.mailbox.ends_with(joined)) return "the messages are not the mailbox file's bytes in order";
  if (before.messages.empty()) return {};
  ReadMailbox back;
  std::string problem =
      CheckMovesOutAndBack(*store, fuzzId, before, input.mailbox.size() % before.messages.size(), back);
  if (!problem.empty()) return problem;

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
