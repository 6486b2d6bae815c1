#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/date_time.h"

// The date texts of feeds and of the program's own bookkeeping:
//   display form    Sat, 13 Dec 2003 18:30:00   (message date lines, the Newsboard)
//   parseable form  6/10/2003 04:00:00          (what the date parser is given)
//   stored form     12/13/2003 18:30:00         (kStoredDatePattern; "LastArticle")
//   locale form     12/7/2026 7:03:15 AM        (platform::FormatLocaleDate; "LastCheck")
// Display and parseable forms carry no zone; ReadArticleInstant applies the zone a date names.

namespace tarnwick::feed {

/// Formatter pattern of the stored form: two-digit month, day, hour, minute and second, four-digit year.
inline constexpr char kStoredDatePattern[] = "%m/%d/%Y %H:%M:%S";

/// Mode of NormalizeFeedDate for ISO 8601 texts, as Atom documents carry them.
inline constexpr int kIsoDateMode = 2;
/// Mode of NormalizeFeedDate for free-form texts, read by the date parser.
inline constexpr int kFreeFormDateMode = 0;

/// The date text in display form. With kIsoDateMode the year, month, day, hour and minute are cut
/// from fixed positions of texts 4, 7, 10 or at least 18 characters long (seconds become 00);
/// other lengths give the current time. In any other mode the text goes to the date parser, and
/// the current time stands in when it fails. Never fails; safe on any text.
std::string NormalizeFeedDate(std::string_view text, int mode, const platform::Clock& clock);

/// The text trimmed and every run of white space (blanks, tabs, line ends) made one blank.
std::string CollapseWhiteSpace(std::string_view text);

/// The display form or a mail-style date (Tue, 10 Jun 2003 04:00:00 GMT) rewritten in parseable
/// form (6/10/2003 04:00:00), a leading day name and anything after the time (an AM or PM aside)
/// dropped. The text is trimmed and its white space runs made single blanks first, and a comma
/// is followed by a blank ("Tue,10 Jun 2003"); a date without a time is written without one (the
/// parser reads midnight). The current time in locale form when the text does not split into
/// day, month and year. Never fails.
std::string ToParseableDate(std::string_view text, const platform::Clock& clock);

/// What an article's date names, for comparing dates across time zones.
struct ArticleInstant {
  /// The instant in local time: the text's parseable form read by the date parser, moved from the
  /// zone written after the time (platform::ParseZoneOffset) to local time; a text without a
  /// zone is local time as written. Nullopt when the parseable form does not parse.
  std::optional<platform::DateTime> local;
  /// True when the text does not split into a date and `local` is the current time instead.
  bool currentTime = false;
};

/// Reads an article's date text as ToParseableDate splits it, applying its zone.
ArticleInstant ReadArticleInstant(std::string_view text, const platform::Clock& clock);

/// An Atom date for an item: NormalizeFeedDate in kIsoDateMode, followed by the text's zone as
/// " +hhmm" (" +0000" for "Z") when it carries a time and a zone, so that the date keeps naming
/// the instant the feed gave.
std::string AtomItemDate(std::string_view text, const platform::Clock& clock);

}  // namespace tarnwick::feed
