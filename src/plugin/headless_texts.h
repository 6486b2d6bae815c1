#pragma once

// Texts of the runs, additions and removals the host's command line asks the module for.

namespace tarnwick::plugin {

inline constexpr char kNotSetUpText[] = "Tarnwick has not been initialised by its host.";
inline constexpr char kSettingsNotWrittenText[] = "The settings file cannot be written.";
inline constexpr char kUnknownAliasText[] = "No feed has the alias \"%s\" in %s.";
inline constexpr char kNoFeedsText[] = "No feeds are set up in %s.";

// A check run's report.
inline constexpr char kNotCheckedPrefix[] = "not checked: ";
/// The one line of a quiet run that went well.
inline constexpr char kQuietCountPrefix[] = "New articles: ";

// Adding a feed: the refusals, then what was added.
inline constexpr char kAliasTakenText[] = "\"%s\" is already the alias of a feed.";
inline constexpr char kNoUrlText[] = "A feed needs a URL.";
inline constexpr char kNoNewsboxNameText[] = "A feed needs a newsbox.";
inline constexpr char kReservedNewsboxText[] =
    "\"%s\" is the mail client's own mailbox and cannot be a newsbox; choose another one.";
inline constexpr char kNotAFeedText[] = "%s is not a valid RSS/Atom feed. Nothing was added.";
inline constexpr char kNotDownloadedText[] =
    "%s could not be downloaded (%s); check the URL and that the computer is on-line. Nothing was added.";
inline constexpr char kNeedsLoginText[] = "%s: the feed needs a login. Nothing was added.";
inline constexpr char kNoFeedOnPageText[] =
    "%s is a web page that links to no RSS or Atom feed; give the address of the feed itself. Nothing was added.";
/// The page's feeds follow, one a line: address, then title.
inline constexpr char kSeveralFeedsText[] =
    "%s is a web page that links to several feeds; add the one you want by its address. Nothing was added:";
inline constexpr char kNoNewsboxText[] = "The mail client gave no mailbox \"%s\" for the feed's articles.";
inline constexpr char kAddedText[] = "Feed \"%s\" added, delivering into \"%s\".";
/// Follows kAddedText when the feed's name or its newsbox's name was cut to fit the settings file.
inline constexpr char kCutToFitText[] = " Its name was cut to fit the settings file.";
inline constexpr char kFoundOnPageText[] = " Its address is the feed the page links to: %s.";
inline constexpr char kFirstCheckText[] = " Its first check delivers its %s newest articles.";

// Removing a feed.
inline constexpr char kRemovedText[] =
    "Feed \"%s\" removed. Its newsbox \"%s\" and the messages in it stay in the mail client.";

// The feed list: column heads, and what stands in an empty field.
inline constexpr char kAliasColumn[] = "ALIAS";
inline constexpr char kNewsboxColumn[] = "NEWSBOX";
inline constexpr char kLastArticleColumn[] = "LAST ARTICLE";
inline constexpr char kLastCheckColumn[] = "LAST CHECK";
inline constexpr char kLastProblemColumn[] = "LAST PROBLEM";
inline constexpr char kEmptyField[] = "-";

}  // namespace tarnwick::plugin
