#include "check/failing_notices.h"

#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "store/settings_keys.h"

namespace tarnwick::check {

std::vector<std::string> FailingFeedsNamedRecently(const store::SettingsStore& settings, const RunReport& report,
                                                   const platform::DateTime& now) {
  std::vector<std::string> recent;
  std::vector<platform::IniChange> named;
  const std::string nowText = platform::FormatLocaleDate(now);
  for (const FeedOutcome& feed : report.feeds) {
    if (!feed.failing) continue;
    const std::optional<platform::DateTime> last =
        platform::ParseDate(settings.ReadText(feed.alias, store::kFailingNamedAtKey, ""));
    // A time ahead of now (a clock set back) does not silence the feed for longer than a day.
    if (last && *last <= now && now < last->AddMinutes(kHoursBetweenFailingNotices * 60)) {
      recent.push_back(feed.alias);
    } else {
      named.push_back({feed.alias, store::kFailingNamedAtKey, nowText});
    }
  }
  if (!named.empty()) (void)settings.Apply(named);
  return recent;
}

}  // namespace tarnwick::check
