// Accepted shapes. Letter case never matters. Blanks, tabs, line ends and commas separate words
// and may be repeated anywhere between words; inside a numeric date, a time and a zone offset
// nothing may separate the digits from their "/", "-", ":" or "+".
//
//   [day name] date [time [zone]]
//   [day name] time [zone]
//
//   day name  Sun ... Sat or Sunday ... Saturday, optionally followed by "."; it is not checked
//             against the date, since feeds often get it wrong while the date itself is right.
//   date      M/D/Y   M-D-Y           6/10/2003, 06/10/2003, 6-10-03
//             D/M/Y   D-M-Y           25/12/2003, 13-1-1970: only when the first number cannot be
//                                     a month (above 12); otherwise the month comes first
//             Y/M/D   Y-M-D           2003-06-10 (the year written with four digits)
//             D Mon Y                 10 Jun 2003, 10-jun-03, 10 JUNE 2003
//             Mon D Y                 Jun 10 2003, June 10, 2003, Jun/10/2003
//             Mon is a month's full name, its three-letter abbreviation or "Sept"; between the
//             parts of a date with a month name one "-", "/" or "." may stand ("Jun. 10, 2003").
//   time      H:MM, H:MM:SS, H:MM:SS.fraction (the fraction is dropped), 24-hour, H from 0 to 23;
//             each of these followed by AM or PM, or by A or P alone, is 12-hour, H from 1 to 12;
//             also H AM, H PM. Hours, minutes and seconds have one or two digits.
//   zone      only after a time; ParseDate drops it and takes the time as written (ParseZoneOffset
//             reads a zone alone, for callers that apply it): GMT, UT, UTC, Z, EST, EDT,
//             CST, CDT, MST, MDT, PST, PDT, one military letter other than A, J and P (A and P
//             mark a 12-hour time), an offset +hhmm, -hhmm, +hh:mm, -hh:mm or +hh, or one of
//             those names directly followed by an offset (GMT+0100); then optionally a comment of
//             words in parentheses, "(UTC)".
//   Y         one or two digits: 00-29 are 2000-2029, 30-99 are 1930-1999; three or four digits
//             as written. Valid years are 100 to 9999.
//
// A date alone is midnight; a time alone is that time on 30 December 1899 (day 0). Everything
// else fails: unknown words, stray symbols, bytes outside ASCII, impossible dates (2/30/2003,
// 13/13/2003, 0/0/2003), impossible times (25:00, 12:60, 13:00 PM) and leftovers after a date.

#include "platform/date_parser.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/date_names.h"
#include "platform/text.h"

namespace tarnwick::platform {
namespace {

// Larger numbers than this are kept at this value; they are never valid date parts.
constexpr int64_t kNumberCap = 1000000000;
constexpr int kYearWindowPivot = 30;  // two-digit years below it are 20xx, the others 19xx

struct Token {
  enum class Kind { Number, Word, Symbol };
  Kind kind = Kind::Symbol;
  std::string word;    // a word in lower case
  int64_t number = 0;  // a number's value, capped at kNumberCap
  int digits = 0;      // how many digits the number was written with
  char symbol = 0;
  bool glued = false;  // no blank or comma stands between it and the token before
};

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == ',';
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsSymbol(char c) {
  return c == '/' || c == '-' || c == ':' || c == '.' || c == '+' || c == '(' || c == ')';
}

// Splits the text into numbers, words and symbols; nullopt at any other character.
std::optional<std::vector<Token>> Tokenize(std::string_view text) {
  std::vector<Token> tokens;
  bool glued = false;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (IsSeparator(c)) {
      glued = false;
      ++i;
      continue;
    }
    Token token;
    token.glued = glued && !tokens.empty();
    if (IsDigit(c)) {
      token.kind = Token::Kind::Number;
      for (; i < text.size() && IsDigit(text[i]); ++i) {
        token.number = token.number >= kNumberCap ? kNumberCap : token.number * 10 + (text[i] - '0');
        token.digits = token.digits >= 100 ? 100 : token.digits + 1;
      }
    } else if (IsLetter(c)) {
      token.kind = Token::Kind::Word;
      size_t end = i;
      while (end < text.size() && IsLetter(text[end])) ++end;
      token.word = ToLowerAscii(text.substr(i, end - i));
      i = end;
    } else if (IsSymbol(c)) {
      token.symbol = c;
      ++i;
    } else {
      return std::nullopt;
    }
    tokens.push_back(std::move(token));
    glued = true;
  }
  return tokens;
}

// Index 1-based within the names, or 0 when the word is none of them.
template <size_t N>
int FindName(const std::string& word, const std::array<std::string_view, N>& shortNames,
             const std::array<std::string_view, N>& longNames) {
  for (size_t i = 0; i < N; ++i) {
    if (EqualsIgnoreCase(word, shortNames[i]) || EqualsIgnoreCase(word, longNames[i])) return static_cast<int>(i) + 1;
  }
  return 0;
}

int MonthFromWord(const std::string& word) {
  if (word == "sept") return 9;
  return FindName(word, kShortMonthNames, kLongMonthNames);
}

struct ZoneName {
  std::string_view name;
  int minutes;  // east of UTC
};
constexpr ZoneName kZoneNames[] = {{"gmt", 0},       {"ut", 0},        {"utc", 0},       {"z", 0},
                                   {"est", -5 * 60}, {"edt", -4 * 60}, {"cst", -6 * 60}, {"cdt", -5 * 60},
                                   {"mst", -7 * 60}, {"mdt", -6 * 60}, {"pst", -8 * 60}, {"pdt", -7 * 60}};

// The offset of a zone name in minutes east of UTC; nullopt for a word that names no zone.
std::optional<int> ZoneNameOffset(const std::string& word) {
  for (const ZoneName& zone : kZoneNames) {
    if (word == zone.name) return zone.minutes;
  }
  return std::nullopt;
}

// A single military zone letter: every letter but J, and but A and P, which mark a 12-hour time.
bool IsMilitaryZone(const std::string& word) {
  return word.size() == 1 && word[0] != 'j' && word[0] != 'a' && word[0] != 'p';
}

// The military letters count hours east from B to M (J skipped) and west from N to Y; Z is UTC.
int MilitaryZoneOffset(char letter) {
  if (letter == 'z') return 0;
  if (letter <= 'i') return (letter - 'a' + 1) * 60;
  if (letter <= 'm') return (letter - 'a') * 60;
  return -(letter - 'n' + 1) * 60;
}

// Full year from a written year: one or two digits through the window, three or four as written.
std::optional<int> YearFromToken(const Token& token) {
  if (token.digits <= 2) {
    const int year = static_cast<int>(token.number);
    return year < kYearWindowPivot ? 2000 + year : 1900 + year;
  }
  if (token.digits <= 4) return static_cast<int>(token.number);
  return std::nullopt;
}

struct DateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
};

struct TimeParts {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Walks the tokens by the grammar at the top of this file. Every Read function either consumes
// what it recognised and returns true, or leaves the position where it was and returns false.
class DateReader {
public:
  explicit DateReader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  std::optional<DateTime> Read();
  /// Reads a zone and nothing else; its offset in minutes east of UTC.
  std::optional<int> ReadZoneOnly();

private:
  const Token* At(size_t index) const { return index < tokens_.size() ? &tokens_[index] : nullptr; }
  bool IsNumberAt(size_t index, int maxDigits, bool glued) const;
  bool IsSymbolAt(size_t index, char symbol, bool glued) const;
  bool IsWordAt(size_t index) const;
  void SkipDateSeparator(size_t& index) const;

  void ReadDayName();
  bool ReadDate(DateParts& date);
  bool ReadNumericDate(DateParts& date);
  bool ReadDayFirstDate(DateParts& date);
  bool ReadMonthFirstDate(DateParts& date);
  // The year that ends a date written with a month name: at token p, after an optional separator.
  bool ReadYearAfter(size_t p, int month, int day, DateParts& date);
  bool ReadTime(TimeParts& time);
  bool ReadMeridiem(TimeParts& time);
  bool ReadZone();
  bool ReadZoneOffset();
  bool ReadZoneComment();

  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int zoneMinutes_ = 0;  // the offset of the zone read last, east of UTC
};

bool DateReader::IsNumberAt(size_t index, int maxDigits, bool glued) const {
  const Token* token = At(index);
  return token != nullptr && token->kind == Token::Kind::Number && token->digits <= maxDigits &&
         (!glued || token->glued);
}

bool DateReader::IsSymbolAt(size_t index, char symbol, bool glued) const {
  const Token* token = At(index);
  return token != nullptr && token->kind == Token::Kind::Symbol && token->symbol == symbol && (!glued || token->glued);
}

bool DateReader::IsWordAt(size_t index) const {
  const Token* token = At(index);
  return token != nullptr && token->kind == Token::Kind::Word;
}

void DateReader::SkipDateSeparator(size_t& index) const {
  if (IsSymbolAt(index, '-', false) || IsSymbolAt(index, '/', false) || IsSymbolAt(index, '.', false)) ++index;
}

std::optional<DateTime> DateReader::Read() {
  ReadDayName();
  DateParts date;
  TimeParts time;
  const bool hasDate = ReadDate(date);
  const bool hasTime = ReadTime(time);
  if (!hasDate && !hasTime) return std::nullopt;
  if (hasTime) ReadZone();
  if (pos_ != tokens_.size()) return std::nullopt;
  DateTime result = DateTime::FromParts(date.year, date.month, date.day, time.hour, time.minute, time.second);
  if (!result.IsValid()) return std::nullopt;
  return result;
}

void DateReader::ReadDayName() {
  if (!IsWordAt(pos_) || FindName(tokens_[pos_].word, kShortDayNames, kLongDayNames) == 0) return;
  ++pos_;
  if (IsSymbolAt(pos_, '.', true)) ++pos_;
}

bool DateReader::ReadDate(DateParts& date) {
  return ReadNumericDate(date) || ReadDayFirstDate(date) || ReadMonthFirstDate(date);
}

bool DateReader::ReadNumericDate(DateParts& date) {
  const size_t p = pos_;
  if (!IsNumberAt(p, 4, false)) return false;
  const char separator = IsSymbolAt(p + 1, '/', true) ? '/' : '-';
  if (!IsSymbolAt(p + 1, separator, true) || !IsNumberAt(p + 2, 4, true) || !IsSymbolAt(p + 3, separator, true) ||
      !IsNumberAt(p + 4, 4, true)) {
    return false;
  }
  const Token& first = tokens_[p];
  const Token& second = tokens_[p + 2];
  const Token& third = tokens_[p + 4];
  if (first.digits == 4 && second.digits <= 2 && third.digits <= 2) {
    date = {static_cast<int>(first.number), static_cast<int>(second.number), static_cast<int>(third.number)};
  } else if (first.digits <= 2 && second.digits <= 2) {
    const std::optional<int> year = YearFromToken(third);
    if (!year) return false;
    // The month comes first, as the locale writes dates; a first number that cannot be a month
    // is the day, as dates written the other way round have it.
    const bool dayFirst = first.number > 12;
    const Token& month = dayFirst ? second : first;
    const Token& day = dayFirst ? first : second;
    date = {*year, static_cast<int>(month.number), static_cast<int>(day.number)};
  } else {
    return false;
  }
  pos_ = p + 5;
  return true;
}

bool DateReader::ReadYearAfter(size_t p, int month, int day, DateParts& date) {
  SkipDateSeparator(p);
  if (!IsNumberAt(p, 4, false)) return false;
  const std::optional<int> year = YearFromToken(tokens_[p]);
  if (!year) return false;
  date = {*year, month, day};
  pos_ = p + 1;
  return true;
}

bool DateReader::ReadDayFirstDate(DateParts& date) {
  size_t p = pos_;
  if (!IsNumberAt(p, 2, false)) return false;
  const int day = static_cast<int>(tokens_[p].number);
  ++p;
  SkipDateSeparator(p);
  const int month = IsWordAt(p) ? MonthFromWord(tokens_[p].word) : 0;
  if (month == 0) return false;
  ++p;
  return ReadYearAfter(p, month, day, date);
}

bool DateReader::ReadMonthFirstDate(DateParts& date) {
  size_t p = pos_;
  const int month = IsWordAt(p) ? MonthFromWord(tokens_[p].word) : 0;
  if (month == 0) return false;
  ++p;
  SkipDateSeparator(p);
  if (!IsNumberAt(p, 2, false)) return false;
  const int day = static_cast<int>(tokens_[p].number);
  ++p;
  return ReadYearAfter(p, month, day, date);
}

bool DateReader::ReadTime(TimeParts& time) {
  size_t p = pos_;
  if (!IsNumberAt(p, 2, false)) return false;
  TimeParts read;
  read.hour = static_cast<int>(tokens_[p].number);
  ++p;
  const bool hasMinute = IsSymbolAt(p, ':', true) && IsNumberAt(p + 1, 2, true);
  if (hasMinute) {
    read.minute = static_cast<int>(tokens_[p + 1].number);
    p += 2;
    if (IsSymbolAt(p, ':', true) && IsNumberAt(p + 1, 2, true)) {
      read.second = static_cast<int>(tokens_[p + 1].number);
      p += 2;
      if (IsSymbolAt(p, '.', true) && IsNumberAt(p + 1, 100, true)) p += 2;  // fraction of a second
    }
  }
  // Hours, minutes and seconds out of range are refused when the value is built.
  const size_t before = pos_;
  pos_ = p;
  const bool meridiem = ReadMeridiem(read);
  if (!hasMinute && !meridiem) {
    pos_ = before;
    return false;
  }
  time = read;
  return true;
}

// Reads AM or PM (or A or P alone) and turns a 12-hour hour into a 24-hour one; false, reading
// nothing, when the next word is none of them or the hour is not 1 to 12.
bool DateReader::ReadMeridiem(TimeParts& time) {
  if (!IsWordAt(pos_)) return false;
  const std::string& word = tokens_[pos_].word;
  const bool morning = word == "am" || word == "a";
  const bool afternoon = word == "pm" || word == "p";
  if (!morning && !afternoon) return false;
  if (time.hour < 1 || time.hour > 12) return false;
  time.hour = time.hour % 12 + (afternoon ? 12 : 0);
  ++pos_;
  return true;
}

std::optional<int> DateReader::ReadZoneOnly() {
  if (!ReadZone() || pos_ != tokens_.size()) return std::nullopt;
  return zoneMinutes_;
}

bool DateReader::ReadZone() {
  const std::optional<int> named = IsWordAt(pos_) ? ZoneNameOffset(tokens_[pos_].word) : std::nullopt;
  if (named) {
    ++pos_;
    zoneMinutes_ = 0;
    if ((IsSymbolAt(pos_, '+', true) || IsSymbolAt(pos_, '-', true)) && !ReadZoneOffset()) {
      --pos_;
      return false;
    }
    zoneMinutes_ += *named;  // GMT+0100 is the offset from the name's own
  } else if (IsWordAt(pos_) && IsMilitaryZone(tokens_[pos_].word)) {
    zoneMinutes_ = MilitaryZoneOffset(tokens_[pos_].word[0]);
    ++pos_;
  } else if (!ReadZoneOffset()) {
    return false;
  }
  ReadZoneComment();
  return true;
}

bool DateReader::ReadZoneOffset() {
  const size_t p = pos_;
  if (!IsSymbolAt(p, '+', false) && !IsSymbolAt(p, '-', false)) return false;
  if (!IsNumberAt(p + 1, 4, true)) return false;
  const Token& first = tokens_[p + 1];
  int64_t hours = first.number;
  int64_t minutes = 0;
  size_t end = p + 2;
  if (first.digits == 4) {
    hours = first.number / 100;
    minutes = first.number % 100;
  } else if (first.digits > 2) {
    return false;
  } else if (IsSymbolAt(end, ':', true) && IsNumberAt(end + 1, 2, true) && tokens_[end + 1].digits == 2) {
    minutes = tokens_[end + 1].number;
    end += 2;
  }
  if (hours > 23 || minutes > 59) return false;
  zoneMinutes_ = static_cast<int>(hours * 60 + minutes) * (IsSymbolAt(p, '-', false) ? -1 : 1);
  pos_ = end;
  return true;
}

bool DateReader::ReadZoneComment() {
  size_t p = pos_;
  if (!IsSymbolAt(p, '(', false)) return false;
  ++p;
  while (IsWordAt(p)) ++p;
  if (!IsSymbolAt(p, ')', false)) return false;
  pos_ = p + 1;
  return true;
}

}  // namespace

std::optional<DateTime> ParseDate(std::string_view text) {
  std::optional<std::vector<Token>> tokens = Tokenize(text);
  if (!tokens || tokens->empty()) return std::nullopt;
  return DateReader(std::move(*tokens)).Read();
}

std::optional<int> ParseZoneOffset(std::string_view text) {
  std::optional<std::vector<Token>> tokens = Tokenize(text);
  if (!tokens || tokens->empty()) return std::nullopt;
  return DateReader(std::move(*tokens)).ReadZoneOnly();
}

}  // namespace tarnwick::platform
