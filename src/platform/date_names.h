#pragma once

#include <array>
#include <string_view>

// English (United States) names of days and months, shared by the date parser, the date
// formatter and the feed date texts.

namespace tarnwick::platform {

/// Three-letter day names, index 0 = Sunday (day of week 1).
inline constexpr std::array<std::string_view, 7> kShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
/// Full day names, index 0 = Sunday.
inline constexpr std::array<std::string_view, 7> kLongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                                  "Thursday", "Friday", "Saturday"};
/// Three-letter month names, index 0 = January (month 1).
inline constexpr std::array<std::string_view, 12> kShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
/// Full month names, index 0 = January.
inline constexpr std::array<std::string_view, 12> kLongMonthNames = {"January",   "February", "March",    "April",
                                                                     "May",       "June",     "July",     "August",
                                                                     "September", "October",  "November", "December"};

}  // namespace tarnwick::platform
