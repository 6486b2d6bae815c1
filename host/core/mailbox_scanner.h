#pragma once

#include "core/toc_layout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::host {

/// What a read of a whole mailbox file found.
struct [[nodiscard]] ScanResult {
  bool ok = false;
  std::string errorText;          ///< why the file could not be read
  std::vector<TocEntry> entries;  ///< the messages in file order, ids 0 and states unread
  uint64_t size = 0;              ///< the bytes read
  bool endsWithLineEnd = true;    ///< false when the last byte is not a line feed
};

/// Reads a mailbox file and finds its messages: each starts at a separator line. Tolerant of what
/// other programs write: bare line feeds, a last message without its line end, an empty file, and
/// text before the first separator (a message of its own, unless it is only blank lines).
ScanResult ScanMailboxFile(const std::string& path);

/// The summary (date, from, subject) of a message from its stored bytes, as a listing shows it.
MessageSummary SummaryOfMessage(std::string_view stored);

}  // namespace tarnwick::host
