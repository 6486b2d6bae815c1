#include "feed/feed_date.h"

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

std::optional<std::string> SplitToParseable(std::string_view text) {
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
  if (!year) return std::nullopt;
  const std::string_view time = rest.substr(0, rest.find(' '));

  const std::string dayText = day->size() == 1 ? "0" + std::string(*day) : std::string(*day);
  return MonthNumberText(*month) + "/" + dayText + "/" + std::string(*year) + " " + std::string(time);
}

}  // namespace

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
    std::optional<std::string> parseable = SplitToParseable(text);
    return parseable ? *parseable : fallback;
  } catch (const std::exception&) {
    return fallback;
  }
}

}  // namespace tarnwick::feed
