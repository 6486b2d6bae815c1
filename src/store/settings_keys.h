#pragma once

// Section and key names of the settings file, and the defaults that go with them.

namespace tarnwick::store {

inline constexpr char kSettingsFileName[] = "tarnwick.ini";

inline constexpr char kAliasesSection[] = "Aliases";
inline constexpr char kWindowsSection[] = "Windows";
inline constexpr char kColumnsSection[] = "Columns";
/// Settings of the whole installation: "Proxy" is "environment" (or empty), "none" or a proxy's address.
inline constexpr char kNetworkSection[] = "Network";
inline constexpr char kProxyKey[] = "Proxy";

inline constexpr char kNameKey[] = "Name";
inline constexpr char kUrlKey[] = "URL";
inline constexpr char kNewsboxKey[] = "Newsbox";
inline constexpr char kNewsboxPathKey[] = "NewsboxPath";
inline constexpr char kDownloadReferringArticlesKey[] = "DownloadReferringArticles";
inline constexpr char kDownloadOnlyNewArticlesKey[] = "DownloadOnlyNewArticles";
inline constexpr char kLastArticleKey[] = "LastArticle";
inline constexpr char kAutoCheckKey[] = "AutoCheck";
inline constexpr char kIntervalMinutesKey[] = "IntervalMinutes";
inline constexpr char kLastCheckKey[] = "LastCheck";
inline constexpr char kNotifyNewsBoardKey[] = "NotifyNewsBoard";
/// How many of the newest items a feed's first check delivers; 0 or absent: all of them.
inline constexpr char kFirstCheckArticlesKey[] = "FirstCheckArticles";
// What the server said identifies the feed document last delivered; sent back on the next download.
inline constexpr char kEntityTagKey[] = "ETag";
inline constexpr char kLastModifiedKey[] = "LastModified";
// How the feed's last check went: when it ended (locale form) and, when it failed, why. A good
// check removes "LastProblem".
inline constexpr char kCheckedAtKey[] = "CheckedAt";
inline constexpr char kLastProblemKey[] = "LastProblem";
// What the feed's server asked for: background fetching leaves the feed alone until "RetryAfter"
// (a time in locale form) and for good once "Gone" is 1; "MovedTo" is the address the feed's
// URL permanently redirects to.
inline constexpr char kRetryAfterKey[] = "RetryAfter";
inline constexpr char kGoneKey[] = "Gone";
inline constexpr char kMovedToKey[] = "MovedTo";
// The feed's health: how many checks and background downloads failed in a row and when the last
// of them failed, when the feed last answered and last delivered new articles (locale form), and
// when a quiet check last named it as failing. A success removes all but "SucceededAt" and
// "DeliveredAt".
inline constexpr char kFailuresInARowKey[] = "FailuresInARow";
inline constexpr char kFailedAtKey[] = "FailedAt";
inline constexpr char kSucceededAtKey[] = "SucceededAt";
inline constexpr char kDeliveredAtKey[] = "DeliveredAt";
inline constexpr char kFailingNamedAtKey[] = "FailingNamedAt";

/// "LastArticle" of a feed that never had one.
inline constexpr char kDefaultLastArticle[] = "1/1/1970 11:10:00";

// Host settings file, read once at start-up for the data folder.
inline constexpr char kHostSettingsFileName[] = "deudora.ini";
inline constexpr char kHostSettingsSection[] = "Settings";
inline constexpr char kHostDataFolderKey[] = "DataFolder";

}  // namespace tarnwick::store
