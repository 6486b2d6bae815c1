#include "platform/local_time.h"

#include <cstdio>
#include <cstdlib>

namespace tarnwick::platform {
namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian calendar).
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

}  // namespace

std::string UtcOffsetText(std::time_t instant) {
  std::tm local{};
  if (!LocalTimeParts(instant, local)) return "+0000";
  // The local parts read as if they were UTC, less the instant itself, is the offset.
  const long long localSeconds = DaysFromCivil(local.tm_year + 1900LL, static_cast<unsigned>(local.tm_mon + 1),
                                               static_cast<unsigned>(local.tm_mday)) *
                                     86400 +
                                 local.tm_hour * 3600LL + local.tm_min * 60LL + local.tm_sec;
  const long long minutes = (localSeconds - static_cast<long long>(instant)) / 60;
  char text[48];
  std::snprintf(text, sizeof text, "%c%02lld%02lld", minutes < 0 ? '-' : '+', std::llabs(minutes) / 60,
                std::llabs(minutes) % 60);
  return text;
}

}  // namespace tarnwick::platform
