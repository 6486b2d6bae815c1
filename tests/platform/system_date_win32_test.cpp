// The date parser against the system's own (VarDateFromStr, English (United States)) on the same
// texts: both read the same date and time, or both refuse. The decided differences are listed with
// their reason.
#include "platform/date_parser.h"

#include "platform/wide_text_win32.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <cmath>
#include <iostream>
#include <optional>
#include <set>
#include <string>

namespace tarnwick::platform {
namespace {

constexpr LCID kEnglishUnitedStates = 0x0409;
constexpr double kOneSecond = 1.0 / 86400;

std::optional<double> SystemDate(const std::string& text) {
  std::wstring wide = WideFromUtf8(text);
  DATE date = 0;
  if (FAILED(VarDateFromStr(wide.data(), kEnglishUnitedStates, 0, &date))) return std::nullopt;
  return date;
}

const char* const kTexts[] = {
    // what the program writes and stores
    "6/10/2003 04:00:00",
    "06/10/2003 04:00:00",
    "12/7/2026 7:03:15 AM",
    "12/7/2026 7:03:15 PM",
    "12/7/2026 12:00:00 AM",
    "12/7/2026 12:30:00 PM",
    "1/1/2000",
    "12/31/9999 23:59:59",
    // dates as feeds and mail write them
    "10 Jun 2003",
    "10 June 2003",
    "June 10, 2003",
    "Jun 10 2003",
    "Tue, 10 Jun 2003 04:00:00",
    "Tue, 10 Jun 2003 04:00:00 GMT",
    "Tue, 10 Jun 2003 04:00:00 +0200",
    "10 Jun 2003 04:00",
    "2003-06-10",
    "2003-06-10 04:00:00",
    "2003/06/10",
    "6/10/03",
    "1/1/99",
    "10-Jun-2003",
    "Tuesday, June 10, 2003",
    "Jun 2003",
    "6/10",
    "10 Jun",
    "2003",
    // times alone
    "04:00:00",
    "4:00 PM",
    "16:30",
    // what names no real date
    "2/30/2003",
    "13/13/2003",
    "24:00:00",
    "10:61",
    "hello",
    "",
    "6/10/2003 04:00:00 nonsense",
    "31 Feb 2003",
};

// Texts where the parser knowingly reads otherwise than the system does.
const std::set<std::string> kDecidedDifferences = {
    // mail dates carry a zone, which the parser drops and the system refuses
    "Tue, 10 Jun 2003 04:00:00 GMT",
    "Tue, 10 Jun 2003 04:00:00 +0200",
    // the parser never guesses a missing day or year, where the system takes the first day of the
    // month or the current year: a feed's date without them is no date, and the item is dated as
    // an undated one is
    "Jun 2003",
    "6/10",
    "10 Jun",
};

std::string Shown(const std::optional<double>& days) {
  return days ? std::to_string(*days) : "(refused)";
}

TEST(SystemDate, TheParserReadsWhatTheSystemReads) {
  int agreed = 0;
  for (const char* text : kTexts) {
    const std::optional<DateTime> ours = ParseDate(text);
    const std::optional<double> engine = ours ? std::optional<double>(ours->Days()) : std::nullopt;
    const std::optional<double> system = SystemDate(text);
    const bool same =
        engine.has_value() == system.has_value() && (!engine || std::fabs(*engine - *system) < kOneSecond);
    if (same) {
      ++agreed;
      continue;
    }
    std::cout << "[ DIFFERS  ] \"" << text << "\": parser " << Shown(engine) << ", system " << Shown(system) << "\n";
    EXPECT_TRUE(kDecidedDifferences.contains(text))
        << "\"" << text << "\": parser " << Shown(engine) << ", system " << Shown(system);
  }
  std::cout << "[ AGREED   ] " << agreed << " of " << std::size(kTexts) << " texts\n";
}

}  // namespace
}  // namespace tarnwick::platform
