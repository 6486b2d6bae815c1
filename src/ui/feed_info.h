#pragma once

#include <string>

namespace tarnwick::ui {

/// What the information dialog reports; the numbers are those callers have always set.
enum class FeedInfoMode { kDuplicateAlias = 2, kAutomationError = 3, kCheckResult = 5, kValidFeed = 6 };

/// Everything the information dialog may say; each mode uses some of the fields.
struct FeedInfo {
  FeedInfoMode mode = FeedInfoMode::kCheckResult;
  std::string productName;         // the module's product name (titles)
  std::string name, url, mailbox;  // the feed's name, URL and newsbox
  int feedsDone = 0;               // feeds the run went through
  int lastResult = 0;              // the last feed's new articles, or -1 when it failed
  int totalNew = 0;                // the run's total of new articles
  bool stopped = false;            // kCheckResult: the user stopped the run
  bool stoppedInFeed = false;      // ... while the feed named here was being checked
  std::string errorText;           // kAutomationError; kCheckResult: why a failed feed was not downloaded
};

/// The dialog as composed for one FeedInfo: its title, message, icon resource, whether the
/// "Verify this Feed..." button shows and whether the feed error sound plays.
struct FeedInfoMessage {
  std::string title;
  std::string text;
  int iconNumber = 0;
  bool verifyShown = false;
  bool playSound = false;
};

/// Longest URL the message's header shows; a longer one is cut.
inline constexpr size_t kInfoUrlCharacters = 60;

/// Icon resources of the information dialog.
inline constexpr int kNoNewArticlesIcon = 105;
inline constexpr int kNewArticlesIcon = 107;
inline constexpr int kAutomationErrorIcon = 109;
inline constexpr int kDuplicateAliasIcon = 117;
inline constexpr int kFeedIcon = 1010;
/// The sound a failed feed plays.
inline constexpr int kFeedErrorSound = 113;

/// Composes the dialog's title, text, icon and buttons for `info`.
FeedInfoMessage ComposeFeedInfo(const FeedInfo& info);

/// The address "Verify this Feed..." opens for a URL: the online validator with the URL appended
/// exactly as typed.
std::string FeedValidatorAddress(const std::string& url);

}  // namespace tarnwick::ui
