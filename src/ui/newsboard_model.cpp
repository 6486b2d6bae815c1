#include "ui/newsboard_model.h"

#include "feed/feed_date.h"
#include "mailbox/header_reader.h"
#include "platform/date_parser.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarnwick::ui {
namespace {

constexpr char kColumnsSection[] = "Columns";
constexpr char kSortKeyKey[] = "SortKey";
constexpr char kSortOrderKey[] = "SortOrder";
constexpr int kDefaultColumnWidth = 100;
constexpr int kNoStoredWidth = -1;
constexpr int kLeastFittedWidth = 60;
// The share of the list each column gets in a first-ever Newsboard, in hundredths.
constexpr std::array<int, kNewsboardColumnCount> kFittedShares = {34, 13, 13, 14, 14, 12};

char FoldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareTextIgnoringCase(const std::string& a, const std::string& b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const unsigned char left = static_cast<unsigned char>(FoldCase(a[i]));
    const unsigned char right = static_cast<unsigned char>(FoldCase(b[i]));
    if (left != right) return left < right ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Dates compare as instants, or as calendar days; a date that does not parse makes the two equal.
int CompareDates(const std::string& a, const std::string& b, bool dayOnly) {
  const std::optional<platform::DateTime> left = platform::ParseDate(a);
  const std::optional<platform::DateTime> right = platform::ParseDate(b);
  if (!left || !right) return 0;
  double leftValue = left->Days();
  double rightValue = right->Days();
  if (dayOnly) {
    leftValue = std::floor(leftValue);
    rightValue = std::floor(rightValue);
  }
  return leftValue == rightValue ? 0 : (leftValue < rightValue ? -1 : 1);
}

}  // namespace

const std::array<NewsboardColumnInfo, kNewsboardColumnCount> kNewsboardColumns = {{
    {"Headline", "Headline"},
    {"Feed", "Feed"},
    {"Author", "Author"},
    {"Pubished", "Published"},
    {"Downloaded", "Downloaded"},
    {"Newsbox", "Newsbox"},
}};

NewsboardEntry MakeNewsboardEntry(const mailbox::NewArticleNotice& notice, const platform::Clock& clock) {
  NewsboardEntry entry;
  entry.headerBlock = notice.headerBlock;
  entry.bodyText = notice.body;
  entry.feed = mailbox::ReadHeaderField(entry.headerBlock, "Feed: ");
  entry.headline = mailbox::ReadHeaderField(entry.headerBlock, "Subject: ");
  entry.website = mailbox::ReadHeaderField(entry.headerBlock, "Website: ");
  entry.author = mailbox::ReadHeaderField(entry.headerBlock, "From: ");
  const std::string date = mailbox::ReadHeaderField(entry.headerBlock, "Date: ");
  const std::string downloaded = mailbox::ReadHeaderField(entry.headerBlock, "Downloaded: ");
  entry.newsbox = notice.newsboxName;
  entry.published = feed::ToParseableDate(date, clock);
  entry.downloaded = feed::ToParseableDate(downloaded, clock);
  entry.mailboxPath = notice.newsboxPath;
  return entry;
}

const std::string& ColumnText(const NewsboardEntry& entry, int column) {
  switch (column) {
    case kFeedColumn:
      return entry.feed;
    case kAuthorColumn:
      return entry.author;
    case kPublishedColumn:
      return entry.published;
    case kDownloadedColumn:
      return entry.downloaded;
    case kNewsboxColumn:
      return entry.newsbox;
    default:
      return entry.headline;
  }
}

void NewsboardSort::ClickColumn(int column) {
  if (column == key) order = order == 0 ? 1 : 0;
  key = column;
}

int CompareNewsboardEntries(const NewsboardEntry& a, const NewsboardEntry& b, const NewsboardSort& sort) {
  int result = 0;
  switch (sort.key) {
    case kHeadlineColumn:
    case kFeedColumn:
    case kAuthorColumn:
    case kNewsboxColumn:
      result = CompareTextIgnoringCase(ColumnText(a, sort.key), ColumnText(b, sort.key));
      break;
    case kPublishedColumn:
      result = CompareDates(a.published, b.published, false);
      break;
    case kDownloadedColumn:
      result = CompareDates(a.downloaded, b.downloaded, true);
      break;
    default:
      break;
  }
  return sort.order == 1 ? -result : result;
}

int64_t NewsboardRows::Add(NewsboardEntry entry) {
  const int64_t number = nextNumber_++;
  rows_.emplace(number, std::move(entry));
  return number;
}

const NewsboardEntry* NewsboardRows::Find(int64_t number) const {
  const auto row = rows_.find(number);
  return row == rows_.end() ? nullptr : &row->second;
}

void NewsboardRows::MarkOpened(int64_t number) {
  const auto row = rows_.find(number);
  if (row != rows_.end()) row->second.opened = true;
}

void NewsboardRows::Remove(const std::vector<int64_t>& numbers) {
  for (int64_t number : numbers) rows_.erase(number);
}

std::vector<int64_t> NewsboardRows::SortedNumbers() const {
  std::vector<int64_t> numbers;
  numbers.reserve(rows_.size());
  for (const auto& row : rows_) numbers.push_back(row.first);
  std::sort(numbers.begin(), numbers.end(), [this](int64_t a, int64_t b) { return Compare(a, b) < 0; });
  return numbers;
}

int NewsboardRows::Compare(int64_t a, int64_t b) const {
  const NewsboardEntry* first = Find(a);
  const NewsboardEntry* second = Find(b);
  const int bySort = first != nullptr && second != nullptr ? CompareNewsboardEntries(*first, *second, sort_) : 0;
  if (bySort != 0) return bySort;
  return a == b ? 0 : (a < b ? -1 : 1);  // numbers grow with arrival
}

std::array<int, kNewsboardColumnCount> FittedColumnWidths(int listWidth, int dateWidth) {
  std::array<int, kNewsboardColumnCount> widths{};
  int others = 0;
  for (int column = kFeedColumn; column < kNewsboardColumnCount; ++column) {
    const bool date = column == kPublishedColumn || column == kDownloadedColumn;
    widths[column] = std::max(date ? dateWidth : kLeastFittedWidth, listWidth * kFittedShares[column] / 100);
    others += widths[column];
  }
  // The Headline takes what is left, and stays the widest however narrow the list is.
  const int widestOther = *std::max_element(widths.begin() + kFeedColumn, widths.end());
  widths[kHeadlineColumn] = std::max(listWidth - others, widestOther + 1);
  return widths;
}

NewsboardColumnSettings ReadNewsboardColumns(const store::SettingsStore& settings) {
  NewsboardColumnSettings columns;
  for (int column = 0; column < kNewsboardColumnCount; ++column) {
    const int stored = settings.ReadInt(kColumnsSection, kNewsboardColumns[column].widthKey, kNoStoredWidth);
    columns.widthsStored = columns.widthsStored || stored != kNoStoredWidth;
    columns.widths[column] = stored != kNoStoredWidth ? stored : kDefaultColumnWidth;
  }
  columns.sort.order = settings.ReadInt(kColumnsSection, kSortOrderKey, 0);
  columns.sort.key = settings.ReadInt(kColumnsSection, kSortKeyKey, 0);
  return columns;
}

void WriteNewsboardColumns(const store::SettingsStore& settings, const NewsboardColumnSettings& columns) {
  settings.WriteInt(kColumnsSection, kSortOrderKey, columns.sort.order);
  settings.WriteInt(kColumnsSection, kSortKeyKey, columns.sort.key);
  for (int column = 0; column < kNewsboardColumnCount; ++column) {
    settings.WriteInt(kColumnsSection, kNewsboardColumns[column].widthKey, columns.widths[column]);
  }
}

}  // namespace tarnwick::ui
