#pragma once

#include "mailbox/new_article_notice.h"
#include "platform/clock.h"
#include "store/settings_store.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tarnwick::ui {

/// One row of the Newsboard: an article delivered since the module was loaded.
struct NewsboardEntry {
  std::string headerBlock;  // the message's header block, up to and including its blank line
  std::string bodyText;     // the body as the host returned it
  std::string headline;     // "Subject: "
  std::string feed;         // "Feed: "
  std::string author;       // "From: "
  std::string published;    // "Date: " in parseable form
  std::string downloaded;   // "Downloaded: " in parseable form
  std::string newsbox;      // the newsbox's name
  std::string mailboxPath;  // the newsbox's mailbox file
  std::string website;      // "Website: "
  bool opened = false;      // opened in a viewer from the Newsboard
};

/// The row for a delivered article: its header fields read out of the notice's header block, the
/// two dates turned into parseable form. Missing fields stay empty.
NewsboardEntry MakeNewsboardEntry(const mailbox::NewArticleNotice& notice, const platform::Clock& clock);

/// The columns, in display order.
enum NewsboardColumn : int {
  kHeadlineColumn,
  kFeedColumn,
  kAuthorColumn,
  kPublishedColumn,
  kDownloadedColumn,
  kNewsboxColumn,
  kNewsboardColumnCount
};

/// A column's heading and the "Columns" key its width is kept under.
struct NewsboardColumnInfo {
  const char* heading;
  const char* widthKey;
};
extern const std::array<NewsboardColumnInfo, kNewsboardColumnCount> kNewsboardColumns;

/// The text a row shows in a column.
const std::string& ColumnText(const NewsboardEntry& entry, int column);

/// The sort column and direction (0 ascending, 1 descending).
struct NewsboardSort {
  int key = 0;
  int order = 0;
  /// A click on a column's heading: the same column flips the direction, another keeps it.
  void ClickColumn(int column);
};

/// Negative, zero or positive as `a` sorts before, with or after `b`: headline, feed, author and
/// newsbox as text without regard to case (A-Z folded), published as date and time, downloaded as
/// calendar day only; rows whose dates do not both parse are equal, as are rows under an unknown
/// key. Descending order reverses the sign.
int CompareNewsboardEntries(const NewsboardEntry& a, const NewsboardEntry& b, const NewsboardSort& sort);

/// The rows of the Newsboard, each kept under a number that stays its own while the list is
/// sorted (the list control keeps the number as its item data), with the sort state and the
/// column widths as the settings file keeps them.
class NewsboardRows {
public:
  /// Adds a row; its number.
  int64_t Add(NewsboardEntry entry);
  /// The row with that number, or null when it was removed.
  const NewsboardEntry* Find(int64_t number) const;
  /// Marks the row opened.
  void MarkOpened(int64_t number);
  /// Removes the rows; the articles stay in their newsboxes.
  void Remove(const std::vector<int64_t>& numbers);
  /// Number of rows.
  size_t Count() const { return rows_.size(); }
  /// The numbers of the rows in the order the sort gives (equal rows in the order they came).
  std::vector<int64_t> SortedNumbers() const;
  /// Negative, zero or positive as row `a` sorts before, with or after row `b`: by the sort, and
  /// rows the sort finds equal in the order they came. Zero only for the same row (or a removed one).
  int Compare(int64_t a, int64_t b) const;

  NewsboardSort& Sort() { return sort_; }
  const NewsboardSort& Sort() const { return sort_; }

private:
  std::map<int64_t, NewsboardEntry> rows_;
  int64_t nextNumber_ = 1;
  NewsboardSort sort_;
};

/// Column widths and the sort state of the section "Columns" (defaults 100 and 0).
struct NewsboardColumnSettings {
  std::array<int, kNewsboardColumnCount> widths{};
  NewsboardSort sort;
  bool widthsStored = false;  // at least one width was in the settings file
};

/// The widths of a first-ever Newsboard, whose columns no one has sized yet: together as wide as
/// `listWidth` (but never narrower than a readable least width each, the two date columns never
/// narrower than `dateWidth`, what a whole date and time takes), the Headline the widest.
std::array<int, kNewsboardColumnCount> FittedColumnWidths(int listWidth, int dateWidth);
NewsboardColumnSettings ReadNewsboardColumns(const store::SettingsStore& settings);
void WriteNewsboardColumns(const store::SettingsStore& settings, const NewsboardColumnSettings& columns);

}  // namespace tarnwick::ui
