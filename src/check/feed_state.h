#pragma once

#include "feed/document_validators.h"
#include "platform/ini_file.h"
#include "store/settings_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::check {

/// A feed's bookkeeping between checks, as its settings section keeps it: read once when the
/// feed's check (or background download) starts, changed in memory as the check goes, and written
/// once when it ends, in one write of the settings file or not at all. An empty text stands for
/// an absent key.
struct FeedState {
  std::string lastArticle;              // "LastArticle", the default of a feed that never had one when absent
  bool firstCheck = true;               // no "LastArticle" recorded yet (absent or empty)
  int32_t firstCheckArticles = 0;       // "FirstCheckArticles"
  feed::DocumentValidators validators;  // "ETag" and "LastModified"
  std::string retryAfter;               // "RetryAfter"
  bool gone = false;                    // "Gone" (a number other than 0)
  std::string movedTo;                  // "MovedTo"
  std::string lastProblem;              // "LastProblem"
  std::string checkedAt;                // "CheckedAt"
  int32_t failuresInARow = 0;           // "FailuresInARow"
  std::string failedAt;                 // "FailedAt"
  std::string succeededAt;              // "SucceededAt"
  std::string deliveredAt;              // "DeliveredAt"
  std::string failingNamedAt;           // "FailingNamedAt"

  bool operator==(const FeedState&) const = default;
};

/// The feed's bookkeeping as the settings file holds it now.
FeedState ReadFeedState(const store::SettingsStore& settings, const std::string& alias);

/// The changes that turn `before` into `after` in the feed's section: only the keys whose value
/// differs, an empty text removing its key. A value the settings could not give back whole (too
/// long) is left out, so that it does not keep the other changes from being written.
std::vector<platform::IniChange> FeedStateChanges(const std::string& alias, const FeedState& before,
                                                  const FeedState& after);

}  // namespace tarnwick::check
