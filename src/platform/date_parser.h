#pragma once

#include <optional>
#include <string_view>

#include "platform/date_time.h"

namespace tarnwick::platform {

/// Reads a date, a time, or a date and time written the way the English (United States) locale
/// and mail headers write them: 6/10/2003 04:00:00, 06/10/2003 04:00:00, 12/7/2026 7:03:15 AM,
/// 10 Jun 2003, June 10, 2003, Tue, 10 Jun 2003 04:00:00 GMT and the like (date_parser.cpp lists
/// every accepted shape). A time zone is dropped and the time taken as written. A date alone is
/// midnight; a time alone is that time on 30 December 1899. Returns nullopt, never a guess, for
/// any text that names no real date or holds anything not understood. Safe on any input.
std::optional<DateTime> ParseDate(std::string_view text);

/// Reads a time zone written alone, as it follows the time in a date: a name (GMT, UT, UTC, Z, the
/// US zones EST ... PDT), a military letter (B to M east, N to Y west, Z), an offset such as
/// -0800, +09:00 or +09, or a name followed by an offset (GMT+0100); optionally followed by a
/// comment in parentheses. Its offset in minutes east of UTC; nullopt for anything else.
std::optional<int> ParseZoneOffset(std::string_view text);

}  // namespace tarnwick::platform
