#pragma once

#include <ctime>
#include <string>

namespace tarnwick::platform {

/// The instant as the parts of the local date and time of the system's time zone; false when the
/// system cannot convert it. Safe to call from any thread.
bool LocalTimeParts(std::time_t instant, std::tm& parts);

/// How far the local time of the instant is ahead of UTC, as a mail date writes it: "+0100",
/// "-0530"; "+0000" when the system cannot tell.
std::string UtcOffsetText(std::time_t instant);

}  // namespace tarnwick::platform
