#pragma once

// What must hold for every text given to the date parser. Shared by the fuzz target and by the
// unit test that replays the saved corpus, so both check the same things.

#include <optional>
#include <string>
#include <string_view>

#include "platform/date_format.h"
#include "platform/date_parser.h"

namespace tarnwick::fuzz {

/// Empty when the parser handled the text soundly; otherwise what went wrong.
inline std::string CheckDateParserInput(std::string_view text) {
  using platform::DateTime;
  const std::optional<DateTime> parsed = platform::ParseDate(text);
  // Letter case and blanks around the text never change the outcome.
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (platform::ParseDate(upper) != parsed) return "letter case changed the outcome";
  if (platform::ParseDate(" " + std::string(text) + " ") != parsed) return "surrounding blanks changed the outcome";
  if (!parsed) return {};

  const DateTime& date = *parsed;
  if (!date.IsValid()) return "the parser returned an invalid value";
  if (DateTime::FromParts(date.Year(), date.Month(), date.Day(), date.Hour(), date.Minute(), date.Second()) != date) {
    return "the parts of the parsed value do not make it up again";
  }
  const std::string forms[] = {
      platform::FormatDate(date, "%m/%d/%Y %H:%M:%S"),
      platform::FormatLocaleDate(date),
      platform::FormatDate(date, "%a, %d %b %Y %H:%M:%S GMT"),
  };
  for (const std::string& form : forms) {
    if (platform::ParseDate(form) != parsed) return "\"" + form + "\" does not read back as the same date";
  }
  return {};
}

}  // namespace tarnwick::fuzz
