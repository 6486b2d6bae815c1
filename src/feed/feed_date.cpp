#include "feed/feed_date.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>
#include <string>

#include "platform/date_format.h"
#include "platform/date_names.h"
#include "platform/date_parser.h"
#include "platform/text.h"

namespace tarnwick::feed {
namespace {

using platform::DateTime;

// The pieces of a display-form date, as texts. Pieces cut from an ISO text keep whatever they
// hold; pieces taken from a date value are decimal without leading zeros.
struct DateTexts {
  std::string year;
  std::string month;
  std::string day;
  std::string dayOfWeek;
  std::string hour;
  std::string minute;
  std::string second;
};

// The pieces at the fixed positions of an ISO 8601 text (YYYY, YYYY-MM, YYYY-MM-DD,
// YYYY-MM-DDThh:mm...), seconds always "00"; nullopt for a length that has no such cut.
std::optional<DateTexts> CutIsoDate(const std::string& text) {
  DateTexts texts{"", "00", "00", "", "00", "00", "00"};
  const size_t length = text.size();
  if (length == 4) {
    texts.year = text;
  } else if (length == 7) {
    texts.year = text.substr(0, 4);
    texts.month = text.substr(5, 2);
  } else if (length == 10) {
    texts.year = text.substr(0, 4);
    texts.month = text.substr(5, 2);
    texts.day = text.substr(8, 2);
  } else if (length >= 18) {
    texts.year = text.substr(0, 4);
    texts.month = text.substr(5, 2);
    texts.day = text.substr(8, 2);
    texts.hour = text.substr(11, 2);
    texts.minute = text.substr(14, 2);
  } else {
    return std::nullopt;
  }
  return texts;
}

DateTexts TextsOf(const DateTime& date) {
  return {std::to_string(date.Year()),      std::to_string(date.Month()), std::to_string(date.Day()),
          std::to_string(date.DayOfWeek()), std::to_string(date.Hour()),  std::to_string(date.Minute()),
          std::to_string(date.Second())};
}

// The name for a decimal text "1" to N (no leading zero); any other text as it stands.
template <size_t N>
std::string NameOf(const std::string& number, const std::array<std::string_view, N>& names) {
  for (size_t i = 0; i < N; ++i) {
    if (number == std::to_string(i + 1)) return std::string(names[i]);
  }
  return number;
}

void PadToTwo(std::string& text) {
  if (text.size() == 1) text.insert(0, "0");
}

std::string DisplayText(DateTexts texts) {
  PadToTwo(texts.hour);
  PadToTwo(texts.minute);
  PadToTwo(texts.second);
  return NameOf(texts.dayOfWeek, platform::kShortDayNames) + ", " + texts.day + " " +
         NameOf(texts.month, platform::kShortMonthNames) + " " + texts.year + " " + texts.hour + ":" + texts.minute +
         ":" + texts.second;
}

std::string NormalizeTrimmed(const std::string& text, int mode, const platform::Clock& clock) {
  DateTime working = clock.Now();
  std::optional<DateTexts> cut = mode == kIsoDateMode ? CutIsoDate(text) : std::nullopt;
  if (cut) {
    // Only the day of week and the month come from the parsed value; the other pieces stay as
    // cut, which keeps the leading zero of an ISO day.
    const std::string built =
        cut->month + "/" + cut->day + "/" + cut->year + " " + cut->hour + ":" + cut->minute + ":" + cut->second;
    if (std::optional<DateTime> parsed = platform::ParseDate(built)) {
      cut->dayOfWeek = std::to_string(parsed->DayOfWeek());
      cut->month = std::to_string(parsed->Month());
    }
    return DisplayText(*cut);
  }
  if (mode != kIsoDateMode) {
    std::optional<DateTime> parsed = platform::ParseDate(text);
    working = parsed ? *parsed : clock.Now();
  }
  return DisplayText(TextsOf(working));
}

bool NamesADay(std::string_view word) {
  for (std::string_view day : platform::kShortDayNames) {
    if (word.find(day) != std::string_view::npos) return true;
  }
  return false;
}

std::string MonthNumberText(std::string_view word) {
  for (size_t i = 0; i < platform::kShortMonthNames.size(); ++i) {
    if (platform::EqualsIgnoreCase(word, platform::kShortMonthNames[i])) return std::to_string(i + 1);
  }
  return std::string(word);
}

// Takes the word before the next space off the front of `rest`; nullopt when no space follows it.
std::optional<std::string_view> TakeWord(std::string_view& rest) {
  const size_t space = rest.find(' ');
  if (space == std::string_view::npos) return std::nullopt;
  std::string_view word = rest.substr(0, space);
  rest.remove_prefix(space + 1);
  return word;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The text with its white space collapsed and a blank put after a comma that has none, so that a
// pretty-printed date or "Tue,10 Jun 2003" splits into its words.
std::string CleanDateText(std::string_view text) {
  std::string clean;
  for (char c : CollapseWhiteSpace(text)) {
    if (!clean.empty() && clean.back() == ',' && c != ' ') clean += ' ';
    clean += c;
  }
  return clean;
}

bool IsMeridiem(std::string_view word) {
  return platform::EqualsIgnoreCase(word, "AM") || platform::EqualsIgnoreCase(word, "PM");
}

// A date text split into its parseable form and what followed the time (a zone, or nothing).
struct SplitDate {
  std::string parseable;
  std::string_view zone;
};

// Splits the cleaned text: an optional day name, then day, month, year and time. A date without a
// time is midnight; an AM or PM after the time stays with it.
std::optional<SplitDate> SplitToParseable(std::string_view text) {
  const size_t firstSpace = text.find(' ');
  if (firstSpace == std::string_view::npos) return std::nullopt;
  std::string_view rest = text;
  const std::string_view firstWord = text.substr(0, firstSpace);
  if (firstWord.find(',') != std::string_view::npos || NamesADay(firstWord)) rest.remove_prefix(firstSpace + 1);

  std::optional<std::string_view> day = TakeWord(rest);
  if (!day) return std::nullopt;
  std::optional<std::string_view> month = TakeWord(rest);
  if (!month) return std::nullopt;
  std::optional<std::string_view> year = TakeWord(rest);
  std::string_view time;
  if (!year) {
    year = rest;  // the date alone
    rest = {};
  } else {
    time = rest.substr(0, rest.find(' '));
    rest.remove_prefix(std::min(rest.size(), time.size() + 1));
  }
  std::string timeText(time);
  if (const std::string_view next = rest.substr(0, rest.find(' ')); !next.empty() && IsMeridiem(next)) {
    timeText += " " + std::string(next);
    rest.remove_prefix(std::min(rest.size(), next.size() + 1));
  }

  const std::string dayText = day->size() == 1 ? "0" + std::string(*day) : std::string(*day);
  std::string parseable = MonthNumberText(*month) + "/" + dayText + "/" + std::string(*year);
  if (!timeText.empty()) parseable += " " + timeText;
  return SplitDate{std::move(parseable), rest};
}

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kUnixEpochDay = 25569;  // 1 January 1970 in days since 30 December 1899

// The local time of the instant that `wall` names in a zone `offsetMinutes` east of UTC; `wall`
// itself when the system cannot convert it.
DateTime ToLocalTime(const DateTime& wall, int offsetMinutes) {
  const auto seconds = static_cast<int64_t>(std::llround(wall.Days() * kSecondsPerDay));
  const int64_t unix = seconds - kUnixEpochDay * kSecondsPerDay - int64_t{offsetMinutes} * 60;
  const DateTime local = DateTime::FromTimeT(static_cast<std::time_t>(unix));
  return local.IsValid() ? local : wall;
}

// The zone of an ISO 8601 date and time as " +hhmm" ("Z" is " +0000"); empty when it has none.
std::string IsoZoneSuffix(std::string_view text) {
  if (text.size() < 16) return {};
  size_t at = 16;  // after YYYY-MM-DDThh:mm
  while (at < text.size() && (text[at] == ':' || text[at] == '.' || (text[at] >= '0' && text[at] <= '9'))) ++at;
  const std::string_view zone = text.substr(at);
  if (zone == "Z" || zone == "z") return " +0000";
  if (zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') && zone[3] == ':') {
    return " " + std::string(zone.substr(0, 3)) + std::string(zone.substr(4, 2));
  }
  if (zone.size() == 5 && (zone[0] == '+' || zone[0] == '-')) return " " + std::string(zone);
  return {};
}

}  // namespace

std::string CollapseWhiteSpace(std::string_view text) {
  std::string collapsed;
  bool blank = false;
  for (char c : text) {
    if (IsBlank(c)) {
      blank = !collapsed.empty();
      continue;
    }
    if (blank) collapsed += ' ';
    blank = false;
    collapsed += c;
  }
  return collapsed;
}

std::string NormalizeFeedDate(std::string_view text, int mode, const platform::Clock& clock) {
  const std::string trimmed = platform::TrimWhiteSpace(text);
  try {
    return NormalizeTrimmed(trimmed, mode, clock);
  } catch (const std::exception&) {
    return trimmed;
  }
}

std::string ToParseableDate(std::string_view text, const platform::Clock& clock) {
  const std::string fallback = platform::FormatLocaleDate(clock.Now());
  try {
    std::optional<SplitDate> split = SplitToParseable(CleanDateText(text));
    return split ? split->parseable : fallback;
  } catch (const std::exception&) {
    return fallback;
  }
}

ArticleInstant ReadArticleInstant(std::string_view text, const platform::Clock& clock) {
  const std::string clean = CleanDateText(text);
  std::optional<SplitDate> split;
  try {
    split = SplitToParseable(clean);
  } catch (const std::exception&) {
  }
  if (!split) return {platform::ParseDate(platform::FormatLocaleDate(clock.Now())), true};
  std::optional<DateTime> date = platform::ParseDate(split->parseable);
  if (!date) return {};
  if (const std::optional<int> offset = platform::ParseZoneOffset(split->zone)) *date = ToLocalTime(*date, *offset);
  return {date, false};
}

std::string AtomItemDate(std::string_view text, const platform::Clock& clock) {
  const std::string trimmed = platform::TrimWhiteSpace(text);
  const std::string display = NormalizeFeedDate(trimmed, kIsoDateMode, clock);
  // Only a date cut with its time carries the zone; the current time standing in has none.
  return trimmed.size() >= 18 ? display + IsoZoneSuffix(trimmed) : display;
}

}  // namespace tarnwick::feed
