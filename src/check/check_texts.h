#pragma once

// Texts the check of a feed and the check runs show.

namespace tarnwick::check {

inline constexpr char kCheckingCacheSuffix[] = " >> Checking the cache for new articles...";
inline constexpr char kCheckingPrefix[] = "Checking ";
inline constexpr char kCheckingSuffix[] = " for new articles...";
inline constexpr char kByWord[] = " by ";

inline constexpr char kGoingOnline[] = "Going online now... Please wait.";
inline constexpr char kGoingOffline[] = "Going offline now... Please wait.";
inline constexpr char kNextFeed[] = "Done. Moving to the next feed.";
inline constexpr char kLoadingFromCache[] = "Loading from cache... Please wait.";
inline constexpr char kReady[] = "Ready. For Help, press F1.";
inline constexpr char kHostReadyPrefix[] = "Tarnwick. Ready. Total number of new articles: ";
inline constexpr char kHostReadySuffix[] = ". Have a nice day.";

// Why a feed could not be checked, for the run's report.
inline constexpr char kIncompleteSettings[] = "its alias, name or URL is empty";
inline constexpr char kNoNewsbox[] = "it has no newsbox";
inline constexpr char kNotDownloaded[] = "the feed document could not be downloaded";
inline constexpr char kNotWellFormedPrefix[] = "the feed document is not well-formed XML: ";
inline constexpr char kStopped[] = "stopped";
inline constexpr char kKeptInPending[] =
    "the mail client could not take the articles; they stay in \"Pending\" and come again next time";
inline constexpr char kNoStagingMailbox[] =
    "the mail client gave no \"Pending\" mailbox to collect the articles in; they come again next time";
// Items of a feed that did not become messages, after their count, in a run's report.
inline constexpr char kSkippedItem[] = " item ";
inline constexpr char kSkippedItems[] = " items ";
inline constexpr char kSkippedNoTitleOrText[] = "without title or text";
inline constexpr char kSkippedNotNewer[] = "not newer than the last article";
inline constexpr char kSkippedAlreadyDelivered[] = "already delivered";
inline constexpr char kSkippedSameLink[] = "already delivered (same link)";
inline constexpr char kSkippedBeyondFirstCheck[] = "left out by the first check's limit";
inline constexpr char kSkippedPrefix[] = "skipped: ";

// After a feed's count in a run's report when the server said its document had not changed.
inline constexpr char kNotModifiedNote[] = " (the feed has not changed since the last check)";
// What a feed's server asked for, in a run's report: the time follows the first, the new
// address the third; the last two say why background fetching leaves a feed alone.
inline constexpr char kServerAskedToWaitPrefix[] = "the server asked to wait until ";
inline constexpr char kFeedGone[] = "the feed is gone";
inline constexpr char kMovedToPrefix[] = "the feed has moved for good to ";
inline constexpr char kMovedToSuffix[] = "; update its URL";
inline constexpr char kSkippedGone[] = "not fetched in the background: the feed is gone";
inline constexpr char kSkippedWaitingPrefix[] = "not fetched in the background until ";
inline constexpr char kSkippedWaitingSuffix[] = ": the server asked to wait";

// A feed's health, in a list of feeds: the failing note is the prefix, the count of failures in a
// row, a suffix and the cause of the latest.
inline constexpr char kFailingPrefix[] = "failing (";
inline constexpr char kFailureInARowSuffix[] = " failure in a row): ";
inline constexpr char kFailuresInARowSuffix[] = " failures in a row): ";
inline constexpr char kQuietNote[] = "quiet (no new article for 90 days)";
inline constexpr char kSkippedFailingSuffix[] = ": the feed is failing";
// Why a download failed when the server asked for a login.
inline constexpr char kNeedsLogin[] = "the feed needs a login";

// After a count of messages in a run's report: the articles the host did not move.
inline constexpr char kLeftInPendingSuffix[] = " left in \"Pending\"";

}  // namespace tarnwick::check
