#pragma once

#include "feed/feed_discovery.h"
#include "store/feed_settings.h"
#include "ui/feed_info.h"
#include "ui/feed_lookup.h"

#include <array>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace tarnwick::ui {

/// What the feed dialogs need to know of the module: where its files lie and its name.
struct FeedDialogContext {
  std::string settingsPath;     // the settings file
  std::string scratchFeedPath;  // where a feed document is fetched to
  std::string hostDataFolder;   // the host's mailboxes
  std::string helpPath;         // the folder of the help pages
  std::string productName;      // titles of the information dialog
};

/// Whether the Feed Properties dialog adds a feed or edits one (the numbers callers have always used).
enum class FeedPropertiesMode { kNew = 0, kEdit = 1 };

/// What the Feed Properties logic asks of its window.
class FeedPropertiesView {
public:
  virtual ~FeedPropertiesView() = default;
  /// Enables or disables the inputs: alias, URL, newsbox button, the three boxes and the interval.
  virtual void EnableInputs(bool enabled) = 0;
  /// Shows the information dialog and returns when the user has closed it.
  virtual void ShowInfo(const FeedInfo& info) = 0;
  /// Tells the user in a message box why the input cannot be saved.
  virtual void ShowRefusal(const std::string& text) = 0;
  /// Puts `url` into the URL edit (the feed found on the page that was typed).
  virtual void ShowUrl(const std::string& url) = 0;
  /// Asks which of the feeds a page offers to take; nullopt when the user declines.
  virtual std::optional<size_t> ChooseFeed(const std::vector<feed::FeedLink>& feeds) = 0;
  /// Shows that a download has started (true) or ended (false): a busy cursor, OK and Validate
  /// unavailable meanwhile, while the window goes on drawing and Cancel stays live.
  virtual void ShowDownloading(bool downloading) = 0;
};

/// The status icons, by download-referring * 4 + download-only-new * 2 + auto-check.
inline constexpr std::array<int, 8> kFeedStatusIcons = {129, 190, 189, 191, 128, 187, 186, 188};
/// Longest name the name label shows whole.
inline constexpr size_t kNameLabelCharacters = 40;
/// The interval a new feed starts with.
inline constexpr int kNewFeedIntervalMinutes = 15;

/// The logic of the Feed Properties dialog, which adds a feed or edits one. When the URL typed is
/// a web page, the download of OK (a feed without a name) and of Validate looks for the feeds the
/// page links to: one is taken, of several the user chooses, and the URL becomes the feed's; a
/// page without any is refused with a message. A download that fails is told once, with its
/// reason. Downloads run on the calling (UI) thread, whose waiting events are handled meanwhile,
/// so that an event can end them with StopDownload. The edited feed stays in the settings file
/// while the dialog is open; OK writes it in one write (under a changed alias the old entry and
/// section go in the same write), Cancel writes nothing. The view must outlive it.
class FeedProperties {
public:
  /// What OK did.
  enum class OkResult {
    kRefused,    ///< invalid input or a stopped download: the dialog stays open, nothing said
    kDuplicate,  ///< another feed has the alias: reported, the dialog stays open
    kNotStored,  ///< the alias or the file cannot take the feed: reported, the dialog stays open
    kSaved,      ///< written: the dialog ends with result 1
  };

  FeedProperties(FeedDialogContext context, FeedPropertiesView& view);

  /// Opens on a new feed: only-new checked, the interval 15 and disabled.
  void OpenNew();
  /// Opens on an existing feed: its nine values, its "LastArticle" read and kept.
  void OpenEdit(const store::FeedSettings& feed);

  FeedPropertiesMode Mode() const { return mode_; }
  /// The working values; after a successful OK, the feed as saved.
  const store::FeedSettings& Values() const { return values_; }
  /// The "LastArticle" that OK writes: the feed's when the dialog opened, empty for a new feed.
  const std::string& KeptLastArticle() const { return lastArticle_; }
  /// The newsbox button's text: the newsbox's name when its file exists.
  std::string NewsboxButtonText() const;
  /// " >> name << " for an edited feed, the name cut to 40 characters and "..."; empty for a new one.
  std::string NameLabel() const;
  /// The status icon resource for the three options.
  int StatusIcon() const;
  /// Whether the interval can be edited (auto-check on).
  bool IntervalEnabled() const { return values_.autoCheck == 1; }
  /// Whether the feed is still to have its first check, which may deliver only its newest articles.
  bool FirstCheckEnabled() const { return lastArticle_.empty(); }
  /// How many of the newest articles the first check delivers; 0 for all.
  int32_t FirstCheckArticles() const { return firstCheckArticles_; }

  /// Each flips its option.
  void ToggleDownloadReferring() { values_.downloadReferringArticles = !values_.downloadReferringArticles; }
  void ToggleDownloadOnlyNew() { values_.downloadOnlyNewArticles = !values_.downloadOnlyNewArticles; }
  void ToggleAutoCheck() { values_.autoCheck = !values_.autoCheck; }
  /// The newsbox the picker chose.
  void SetNewsbox(const std::string& path, const std::string& name);
  /// The text of the first-check edit, read as the interval is; what is not a number above 0 means all.
  void SetFirstCheckArticles(const std::string& text);

  /// OK with the texts of the alias, URL and interval edits.
  OkResult Ok(const std::string& alias, const std::string& url, const std::string& intervalText);
  /// Downloads the URL once and shows whether it is a feed (the name may be taken from it). A web
  /// page's feeds are offered as OK offers them. A stopped download shows nothing.
  void Validate(const std::string& alias, const std::string& url);

  /// True while OK or Validate waits for a download.
  bool Downloading() const { return downloading_; }
  /// Ends the download that OK or Validate waits for at once; they then end showing nothing.
  /// Nothing when none runs. Call on the thread that runs them (from an event they let through).
  void StopDownload() { stop_.request_stop(); }

private:
  enum class Lookup { kFeed, kFailed, kNotDownloaded, kNoFeedOnPage, kDeclined, kStopped };
  Lookup LookUpFeed(std::string& failure);
  FeedLookup Download(const std::function<FeedLookup()>& lookUp);
  bool InputValid();
  bool IsDuplicate() const;
  bool Save();
  FeedInfo InfoAboutFeed(FeedInfoMode mode) const;

  FeedDialogContext context_;
  FeedPropertiesView& view_;
  FeedPropertiesMode mode_ = FeedPropertiesMode::kNew;
  store::FeedSettings values_;
  store::FeedSettings opened_;
  std::string lastArticle_;
  int32_t firstCheckArticles_ = 0;
  std::vector<std::string> aliasEntries_;
  std::stop_source stop_;
  bool downloading_ = false;
};

}  // namespace tarnwick::ui
