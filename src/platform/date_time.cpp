#include "platform/date_time.h"

#include "platform/local_time.h"

#include <cmath>

namespace tarnwick::platform {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1 January 1970 back to 30 December 1899.
constexpr int64_t kEpochOffsetDays = 25569;
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

constexpr int64_t FloorDiv(int64_t a, int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

constexpr int64_t FloorMod(int64_t a, int64_t b) {
  return a - FloorDiv(a, b) * b;
}

constexpr bool IsLeapYear(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int64_t year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1 January 1970 of a proleptic Gregorian date, by the era arithmetic that treats
// March as the first month so that the leap day falls at the end of the counted year.
constexpr int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = FloorDiv(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

constexpr int64_t kMinSeconds = (DaysFromCivil(kMinYear, 1, 1) + kEpochOffsetDays) * kSecondsPerDay;
constexpr int64_t kMaxSeconds = (DaysFromCivil(kMaxYear, 12, 31) + kEpochOffsetDays + 1) * kSecondsPerDay - 1;

}  // namespace

DateTime DateTime::FromSeconds(int64_t seconds) {
  DateTime result;
  if (seconds < kMinSeconds || seconds > kMaxSeconds) return result;
  result.valid_ = true;
  result.seconds_ = seconds;
  return result;
}

DateTime DateTime::FromDays(double days) {
  if (!std::isfinite(days)) return {};
  const double seconds = std::round(days * static_cast<double>(kSecondsPerDay));
  // Checked in floating point first so that the conversion to an integer cannot overflow.
  if (seconds < static_cast<double>(kMinSeconds) || seconds > static_cast<double>(kMaxSeconds)) return {};
  return FromSeconds(static_cast<int64_t>(seconds));
}

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
  if (year < kMinYear || year > kMaxYear || month < 1 || month > 12) return {};
  if (day < 1 || day > DaysInMonth(year, month)) return {};
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return {};
  const int64_t days = DaysFromCivil(year, month, day) + kEpochOffsetDays;
  return FromSeconds(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
}

DateTime DateTime::FromTimeT(std::time_t instant) {
  std::tm parts{};
  if (!LocalTimeParts(instant, parts)) return {};
  // A leap second reads as the last second of its minute.
  const int second = parts.tm_sec > 59 ? 59 : parts.tm_sec;
  return FromParts(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, second);
}

DateTime DateTime::FromTimePoint(std::chrono::system_clock::time_point instant) {
  const auto whole = std::chrono::floor<std::chrono::seconds>(instant);
  return FromTimeT(std::chrono::system_clock::to_time_t(whole));
}

double DateTime::Days() const {
  if (!valid_) return 0;
  return static_cast<double>(seconds_) / static_cast<double>(kSecondsPerDay);
}

DateTime::Civil DateTime::CivilDate() const {
  // The inverse of DaysFromCivil.
  const int64_t days = FloorDiv(seconds_, kSecondsPerDay) - kEpochOffsetDays + 719468;
  const int64_t era = FloorDiv(days, 146097);
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

int64_t DateTime::SecondOfDay() const {
  return FloorMod(seconds_, kSecondsPerDay);
}

int DateTime::Year() const {
  return valid_ ? CivilDate().year : -1;
}

int DateTime::Month() const {
  return valid_ ? CivilDate().month : -1;
}

int DateTime::Day() const {
  return valid_ ? CivilDate().day : -1;
}

int DateTime::Hour() const {
  return valid_ ? static_cast<int>(SecondOfDay() / 3600) : -1;
}

int DateTime::Minute() const {
  return valid_ ? static_cast<int>(SecondOfDay() / 60 % 60) : -1;
}

int DateTime::Second() const {
  return valid_ ? static_cast<int>(SecondOfDay() % 60) : -1;
}

int DateTime::DayOfWeek() const {
  if (!valid_) return -1;
  // 30 December 1899, day 0, was a Saturday (7).
  return static_cast<int>(FloorMod(FloorDiv(seconds_, kSecondsPerDay) + 6, 7)) + 1;
}

DateTime DateTime::AddMinutes(int64_t minutes) const {
  if (!valid_) return {};
  // The whole valid range is far less than this many minutes, so anything larger leaves it.
  constexpr int64_t kRangeMinutes = int64_t{4000000} * 1440;
  if (minutes > kRangeMinutes || minutes < -kRangeMinutes) return {};
  return FromSeconds(seconds_ + minutes * 60);
}

}  // namespace tarnwick::platform
