#pragma once

// Texts of the Feed Properties dialog.

namespace tarnwick::ui {

inline constexpr char kFeedPropertiesTitle[] = "Feed Properties";
inline constexpr char kAliasLabel[] = "&Alias (Friendly Name):";
inline constexpr char kUrlLabel[] = "&URL:";
inline constexpr char kValidateButton[] = "&Validate";
inline constexpr char kNewsboxLabel[] = "&Newsbox:";
inline constexpr char kNoNewsboxSelected[] = "[No newsbox selected]";
inline constexpr char kDownloadReferringLabel[] = "&Download full/referring articles (if available/referred).";
inline constexpr char kDownloadOnlyNewLabel[] = "Do&wnload only new articles.";
inline constexpr char kAutoCheckLabel[] = "Check for new articles every";
inline constexpr char kMinutesLabel[] = "&minutes.";
inline constexpr char kFirstCheckLabel[] = "&First check delivers only the newest";
inline constexpr char kFirstCheckArticlesLabel[] = "articles.";
inline constexpr char kFirstCheckToolTip[] =
    "A feed that has never been checked may hold years of articles: its first check delivers only "
    "this many of the newest. Later checks deliver everything new.";
inline constexpr char kOkButton[] = "&OK";
inline constexpr char kCancelButton[] = "&Cancel";
inline constexpr char kHelpButton[] = "&Help";

inline constexpr char kNameLabelOpen[] = " >> ";
inline constexpr char kNameLabelClose[] = " << ";
inline constexpr char kNameLabelCut[] = "...";

/// The help page of this dialog.
inline constexpr char kSettingsHelpTopic[] = "Settings.htm";

/// When the URL is a web page that links to no feed; the URL follows.
inline constexpr char kNoFeedOnPage[] =
    "This address is a web page that links to no RSS or Atom feed. Please enter the address of the feed itself.\n";
/// The choice among the feeds a web page offers.
inline constexpr char kChooseFeedTitle[] = "Choose a Feed";
inline constexpr char kChooseFeedPrompt[] = "This web page offers several feeds. Which one do you want?";

/// When OK could not download the feed to read its name; the URL and the download's reason follow.
inline constexpr char kFeedNotDownloadedText[] = "The feed could not be downloaded.\n\nAddress: %s\nReason: %s";

/// When the settings file could not be written; the file's path follows.
inline constexpr char kFeedNotSavedText[] = "The feed could not be saved. Is the settings file writable?\n";

}  // namespace tarnwick::ui
