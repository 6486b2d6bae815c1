#pragma once

#include "core/store_status.h"
#include "core/toc_layout.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwick::host {

/// The "Message-Id" values of one mailbox's messages, so that asking for them does not read each
/// message from disk again. Values are filled for every message at once by a few large reads of
/// the mailbox file and kept for each message whose bytes stay the same (same id, length and hash),
/// whatever else changes in the mailbox. Not thread-safe (the store serialises).
class MessageIdIndex {
public:
  /// The value recorded for the message of that entry, or null when it is not known.
  const std::string* Find(const TocEntry& entry) const;
  /// Reads the header of every entry not known yet from the mailbox file and records its value.
  /// Fails, recording nothing more, when the file cannot be read.
  StoreStatus Fill(const std::string& mailboxPath, const std::vector<TocEntry>& entries);
  /// Records the value of a message whose bytes are at hand (one just appended).
  void Add(const TocEntry& entry, std::string_view message);
  /// Forgets a message that left the mailbox.
  void Forget(uint32_t id) { values_.erase(id); }
  /// Keeps the values of these entries only (after the mailbox was read again).
  void KeepOnly(const std::vector<TocEntry>& entries);

private:
  struct Known {
    uint32_t length = 0;
    uint32_t hash = 0;
    std::string value;
  };
  void Record(const TocEntry& entry, std::string_view message);

  std::unordered_map<uint32_t, Known> values_;
};

}  // namespace tarnwick::host
