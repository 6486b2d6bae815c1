#pragma once

#include <string>
#include <string_view>

#include "platform/date_time.h"

namespace tarnwick::platform {

/// The date written by the pattern, with the meanings strftime gives these directives in the
/// English (United States) locale: %a %A (day name short, full), %b %B (month name short, full),
/// %d %m %H %I %M %S (two digits: day, month, 24-hour hour, 12-hour hour, minute, second),
/// %y (two-digit year), %Y (the year without padding), %p (AM or PM) and %% (a percent sign).
/// Any other directive is copied as it stands. Empty for an invalid date.
std::string FormatDate(const DateTime& date, std::string_view pattern);

/// The locale's default date-and-time text: month/day/year without leading zeros, a blank and the
/// 12-hour time with seconds and AM or PM, such as 12/7/2026 7:03:15 AM. Empty for an invalid date.
std::string FormatLocaleDate(const DateTime& date);

}  // namespace tarnwick::platform
