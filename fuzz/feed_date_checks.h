#pragma once

#include <algorithm>

// What must hold for every text given to the feed date conversions. Shared by the fuzz target
// and by the unit test that replays the saved corpus, so both check the same things.

#include <optional>
#include <string>
#include <string_view>

#include "feed/feed_date.h"
#include "platform/clock.h"
#include "platform/date_format.h"
#include "platform/date_parser.h"
#include "platform/text.h"

namespace tarnwick::fuzz {

/// Empty when NormalizeFeedDate and ToParseableDate handled the text soundly; otherwise what went wrong.
inline std::string CheckFeedDateInput(std::string_view text) {
  using platform::DateTime;
  const platform::ManualClock clock(DateTime::FromParts(2026, 12, 7, 7, 3, 15));
  const std::string trimmed = platform::TrimWhiteSpace(text);

  // A free-form text shows as the date the parser reads in it, or else as the current time; the
  // display text must carry exactly that date back through ToParseableDate and the parser.
  const std::string display = feed::NormalizeFeedDate(text, feed::kFreeFormDateMode, clock);
  const DateTime expected = platform::ParseDate(trimmed).value_or(clock.Now());
  if (platform::ParseDate(feed::ToParseableDate(display, clock)) != expected) {
    return "free-form display text \"" + display + "\" does not read back as its date";
  }

  // An ISO text is cut into pieces of at most four characters, seconds always 00; lengths without
  // a cut show the current time.
  const std::string iso = feed::NormalizeFeedDate(text, feed::kIsoDateMode, clock);
  const size_t length = trimmed.size();
  if (length == 4 || length == 7 || length == 10 || length >= 18) {
    if (iso.size() > 32 || iso.size() < 3 || iso.compare(iso.size() - 3, 3, ":00") != 0) {
      return "ISO display text \"" + iso + "\" is not built from the cut pieces";
    }
  } else if (iso != feed::NormalizeFeedDate(platform::FormatLocaleDate(clock.Now()), feed::kFreeFormDateMode, clock)) {
    return "ISO text of an uncut length does not show the current time";
  }

  // The parseable form only rearranges the words of the text (a day may gain a leading zero, a
  // comma a blank after it); when the text does not split, it is the current time in locale form.
  const std::string parseable = feed::ToParseableDate(text, clock);
  const auto commas = static_cast<size_t>(std::count(text.begin(), text.end(), ','));
  if (parseable != platform::FormatLocaleDate(clock.Now()) && parseable.size() > text.size() + 1 + commas) {
    return "parseable text \"" + parseable + "\" is longer than the text it came from";
  }
  return {};
}

}  // namespace tarnwick::fuzz
