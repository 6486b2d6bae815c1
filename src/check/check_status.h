#pragma once

#include "store/settings_store.h"

#include <string>
#include <vector>

namespace tarnwick::check {

/// How a feed's last check went, as its settings section keeps it for the command line.
struct CheckStatus {
  std::string checkedAt;  // when the check ended, in locale form; empty when never checked
  std::string problem;    // why it failed; empty after a good check
  bool answered = false;  // the feed's document came or had not changed: "SucceededAt" is `checkedAt`
};

/// The status of the check of the feed listed under `alias`.
struct FeedCheckStatus {
  std::string alias;
  CheckStatus status;
};

/// Records the end of the checks of a run, in one write of the settings: for each feed,
/// "CheckedAt", "SucceededAt" when the feed answered, and, when `problem` is not empty,
/// "LastProblem"; a good check removes "LastProblem". An alias that "Aliases" does not list (a cached document of a
/// deleted feed) gets nothing, so no section appears for it.
void RecordCheckStatuses(const store::SettingsStore& settings, const std::vector<FeedCheckStatus>& statuses);

/// What RecordCheckStatuses last recorded for the feed.
CheckStatus ReadCheckStatus(const store::SettingsStore& settings, const std::string& alias);

}  // namespace tarnwick::check
