#pragma once

#include "mailbox/known_messages.h"

#include <map>
#include <string>

namespace tarnwick::mailbox {

/// Keeps what is known of newsboxes' messages between checks: in memory for the life of the
/// writer, and in one file per newsbox in a folder of its own for the next process. Memory stays
/// bounded: when more than the bound is held, every newsbox but the one last stored is forgotten
/// in memory (its file stays). Not thread-safe.
class KnownMessagesCache {
public:
  /// Keeps the files in `folder` (created when first needed); an empty folder keeps nothing on disk.
  /// `bound` counts identifiers and links together.
  KnownMessagesCache(std::string folder, size_t bound);

  /// What is known of the newsbox whose mailbox file is `newsboxPath`, whatever stamp it was read
  /// at (from memory, else from its file); null when nothing is.
  KnownMessages* Find(const std::string& newsboxPath);
  /// What is known of the newsbox when its files still have `stamp`; null otherwise.
  KnownMessages* FindCurrent(const std::string& newsboxPath, const NewsboxStamp& stamp);
  /// Keeps `known` as what is known of the newsbox, in memory and, with `persist`, in its file
  /// (without, an older file is removed). The entry kept.
  KnownMessages& Store(const std::string& newsboxPath, KnownMessages known, bool persist);
  /// Writes the newsbox's entry again after the caller changed it in place (found by Find); one whose
  /// stamp names no mailbox file is kept in memory only.
  void Persist(const std::string& newsboxPath);

  /// The file that keeps a newsbox's messages: named after a hash of its mailbox path.
  std::string FilePathOf(const std::string& newsboxPath) const;

private:
  void WriteFile(const std::string& newsboxPath, const KnownMessages& known, bool persist);
  void KeepWithinBound(const std::string& newsboxPath);

  std::string folder_;
  size_t bound_;
  std::map<std::string, KnownMessages> known_;
  size_t held_ = 0;
};

}  // namespace tarnwick::mailbox
