#include "platform/date_format.h"

#include <string>

#include "platform/date_names.h"

namespace tarnwick::platform {
namespace {

void AppendTwoDigits(std::string& out, int value) {
  out.push_back(static_cast<char>('0' + value / 10 % 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

int TwelveHour(int hour) {
  return hour % 12 == 0 ? 12 : hour % 12;
}

const char* Meridiem(int hour) {
  return hour < 12 ? "AM" : "PM";
}

// Appends what one directive letter stands for; false when the letter is not a known directive.
bool AppendDirective(std::string& out, const DateTime& date, char directive) {
  switch (directive) {
    case 'a':
      out.append(kShortDayNames[date.DayOfWeek() - 1]);
      return true;
    case 'A':
      out.append(kLongDayNames[date.DayOfWeek() - 1]);
      return true;
    case 'b':
      out.append(kShortMonthNames[date.Month() - 1]);
      return true;
    case 'B':
      out.append(kLongMonthNames[date.Month() - 1]);
      return true;
    case 'd':
      AppendTwoDigits(out, date.Day());
      return true;
    case 'm':
      AppendTwoDigits(out, date.Month());
      return true;
    case 'H':
      AppendTwoDigits(out, date.Hour());
      return true;
    case 'I':
      AppendTwoDigits(out, TwelveHour(date.Hour()));
      return true;
    case 'M':
      AppendTwoDigits(out, date.Minute());
      return true;
    case 'S':
      AppendTwoDigits(out, date.Second());
      return true;
    case 'y':
      AppendTwoDigits(out, date.Year() % 100);
      return true;
    case 'Y':
      out.append(std::to_string(date.Year()));
      return true;
    case 'p':
      out.append(Meridiem(date.Hour()));
      return true;
    case '%':
      out.push_back('%');
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string FormatDate(const DateTime& date, std::string_view pattern) {
  if (!date.IsValid()) return {};
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      out.push_back(pattern[i]);
      continue;
    }
    if (!AppendDirective(out, date, pattern[i + 1])) out.append(pattern.substr(i, 2));
    ++i;
  }
  return out;
}

std::string FormatLocaleDate(const DateTime& date) {
  if (!date.IsValid()) return {};
  std::string out = std::to_string(date.Month()) + "/" + std::to_string(date.Day()) + "/" +
                    std::to_string(date.Year()) + " " + std::to_string(TwelveHour(date.Hour())) + ":";
  AppendTwoDigits(out, date.Minute());
  out.push_back(':');
  AppendTwoDigits(out, date.Second());
  out.push_back(' ');
  out.append(Meridiem(date.Hour()));
  return out;
}

}  // namespace tarnwick::platform
