#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <ctime>

namespace tarnwick::platform {

/// A calendar date and time of day in local wall-clock time, with a validity state, counted like
/// the OLE date: days since 30 December 1899 00:00:00 with the time of day as the fraction. The
/// resolution is one second, as fine as every text the program reads or writes dates in. Valid
/// values lie between 1 January 100 00:00:00 and 31 December 9999 23:59:59.
///
/// Comparison orders valid values by time; an invalid value equals any other invalid value and
/// is earlier than every valid one, so an invalid date is never "later" than anything.
class DateTime {
public:
  /// An invalid value.
  DateTime() = default;

  /// The date at that many days (fraction = time of day) from 30 December 1899, rounded to the
  /// nearest second; invalid when the count is not finite or falls outside the valid range.
  static DateTime FromDays(double days);
  /// The date with those parts (month 1-12, day 1-31, hour 0-23, minute and second 0-59);
  /// invalid when they name no real date or time, such as 29 February 2003.
  static DateTime FromParts(int year, int month, int day, int hour, int minute, int second);
  /// The local wall-clock time of the instant; invalid when the system cannot convert it.
  static DateTime FromTimeT(std::time_t instant);
  /// The local wall-clock time of the instant, fractions of a second dropped.
  static DateTime FromTimePoint(std::chrono::system_clock::time_point instant);

  /// True for a value that names a date.
  bool IsValid() const { return valid_; }
  /// Days since 30 December 1899 with the time as the fraction; 0 for an invalid value. Before
  /// that day the count simply runs on below zero (-0.75 is 29 December 1899 06:00:00).
  double Days() const;

  /// The year (100-9999), or -1 for an invalid value; likewise the other parts.
  int Year() const;
  /// The month, 1-12.
  int Month() const;
  /// The day of the month, 1-31.
  int Day() const;
  /// The hour, 0-23.
  int Hour() const;
  /// The minute, 0-59.
  int Minute() const;
  /// The second, 0-59.
  int Second() const;
  /// The day of the week, 1-7 with 1 = Sunday.
  int DayOfWeek() const;

  /// This value moved by that many minutes (negative goes back); invalid when this value is
  /// invalid or the result leaves the valid range.
  DateTime AddMinutes(int64_t minutes) const;

  friend bool operator==(const DateTime&, const DateTime&) = default;
  friend std::strong_ordering operator<=>(const DateTime&, const DateTime&) = default;

private:
  struct Civil {
    int year;
    int month;
    int day;
  };

  static DateTime FromSeconds(int64_t seconds);
  Civil CivilDate() const;
  int64_t SecondOfDay() const;

  // Member order matters to the defaulted comparison: validity first, then the time.
  bool valid_ = false;
  int64_t seconds_ = 0;  // seconds since 30 December 1899 00:00:00
};

}  // namespace tarnwick::platform
