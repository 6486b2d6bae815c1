#pragma once

#include "check/check_run.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "store/feed_settings.h"
#include "store/settings_store.h"
#include "ui/feed_info.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::ui {

/// The last result of a window whose user opened a newsbox from it: no run is reported.
inline constexpr int kNewsboxOpenedResult = -3;

/// Places in the newsbox list's image list.
enum NewsboxImage { kEmptyNewsboxImage = 0, kAllReadNewsboxImage = 1, kUnreadNewsboxImage = 2 };

/// The place of a feed's icon in the feed list's image list, 0 to 7: bit 0 set when it downloads
/// the full articles, bit 1 when it takes only new articles, bit 2 when it is checked automatically.
int FeedImageOf(const store::FeedSettings& feed);
/// The place of the warning icon in the feed list's image list, which a failing feed shows.
inline constexpr int kFailingFeedImage = 8;

/// One newsbox of the newsbox list, with the counts its table of contents gave when it was listed.
struct NewsboxRow {
  std::string name;
  std::string mailboxPath;
  std::string tocPath;  // the mailbox path with "toc" for its last three characters
  int total = -1;       // -1 when the table of contents cannot be read
  int unread = -1;

  /// "name (unread/total)".
  std::string Text() const;
  /// kEmptyNewsboxImage without messages (or counts), else kAllReadNewsboxImage when none is
  /// unread, else kUnreadNewsboxImage.
  int Image() const;
};

/// How the window looks after the selection of the feed list changed.
struct FeedSelectionState {
  bool editAndDeleteEnabled = false;  // exactly one feed is selected
  bool downloadEnabled = false;       // at least one is
  bool clockRuns = true;              // the information line shows the time, renewed every second
  /// With one feed: its alias and last article, or, when it is failing, its failures in a row and
  /// the cause of the latest; a quiet feed says so after its last article. Else empty.
  std::string informationText;
  std::optional<size_t> newsbox;  // with one feed: the first row of its newsbox, if listed
};

/// What the main window lists and how it answers selections, without the toolkit: the feeds sorted
/// by alias and the newsboxes sorted by name (both without regard to case), as the settings file
/// and the tables of contents give them. Every settings read and write goes to the file at once.
class MainWindowModel {
public:
  /// The feeds' health is judged at the time `clock` shows; it must outlive the model.
  explicit MainWindowModel(std::string settingsPath, const platform::Clock& clock = SystemTime());

  /// Lists every usable feed of the settings file and the newsbox of each (see AddNewsbox).
  void Load();

  const std::vector<store::FeedSettings>& Feeds() const { return feeds_; }
  const std::vector<NewsboxRow>& Newsboxes() const { return newsboxes_; }

  /// Lists a feed in its place by alias; its index.
  size_t AddFeed(const store::FeedSettings& feed);
  /// Replaces the listed feed whose alias equals `oldAlias` (without regard to case) by `feed`,
  /// moved to its place by the new alias; its index, or none when no feed has that alias.
  std::optional<size_t> UpdateFeed(const std::string& oldAlias, const store::FeedSettings& feed);
  /// Takes the feed at `index` off the list and removes it from the settings file. False (and
  /// nothing changes) for an index past the end. The newsbox list stays as it is.
  bool DeleteFeed(size_t index);
  /// Lists a newsbox in its place by name, with its counts read now, unless a row has the same
  /// mailbox path (without regard to case) or the mailbox file does not exist. True when listed.
  bool AddNewsbox(const std::string& name, const std::string& mailboxPath);

  /// The image of the feed at `index` in the feed list: kFailingFeedImage while it is failing,
  /// else FeedImageOf. An index past the end gives 0.
  int FeedImage(size_t index) const;

  /// The window after the feeds at `selected` (indexes, in list order) became the selection.
  FeedSelectionState SelectFeeds(const std::vector<size_t>& selected) const;
  /// The feeds, in list order, whose newsbox has the name of the row at `newsbox` (without regard
  /// to case); empty for an index past the end.
  std::vector<size_t> FeedsOfNewsbox(size_t newsbox) const;

  /// The information line while the clock runs.
  static std::string ClockText(const platform::DateTime& now);

  /// True until the settings file exists: the user starts for the first time.
  bool IsFirstStart() const;
  /// The window's saved left and top position (0 and 0 when none is saved).
  std::pair<int, int> SavedPosition() const;
  /// Saves the window's left and top position.
  void SavePosition(int left, int top) const;

private:
  static const platform::Clock& SystemTime();
  std::string InformationText(const std::string& alias) const;
  // The name of the newsbox a feed delivers into, as the settings file says now.
  std::string NewsboxNameOf(const std::string& alias) const;

  store::SettingsStore settings_;
  const platform::Clock& clock_;
  std::vector<store::FeedSettings> feeds_;
  std::vector<NewsboxRow> newsboxes_;
};

/// The report the opener shows once the main window has closed: the run's result for the
/// information dialog, or none when no feed was checked or the user opened a newsbox.
std::optional<FeedInfo> RunReportInfo(const check::RunReport& report, const std::string& productName);

}  // namespace tarnwick::ui
