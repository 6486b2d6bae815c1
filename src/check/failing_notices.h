#pragma once

#include "check/check_run.h"
#include "platform/date_time.h"
#include "store/settings_store.h"

#include <string>
#include <vector>

namespace tarnwick::check {

/// Hours after which a short report names a failing feed again.
inline constexpr int kHoursBetweenFailingNotices = 24;

/// Of the failing feeds of `report`, those that a short report made at `now` leaves out because
/// one named them less than kHoursBetweenFailingNotices before ("FailingNamedAt"). The others are
/// named now: their "FailingNamedAt" becomes `now`, in one write of the settings for all of them
/// (none when there are none). A check that finds a feed answering again clears its time, so the
/// next failure after that is named at once.
std::vector<std::string> FailingFeedsNamedRecently(const store::SettingsStore& settings, const RunReport& report,
                                                   const platform::DateTime& now);

}  // namespace tarnwick::check
