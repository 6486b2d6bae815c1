#pragma once

// Texts of the information dialog: what it says about a feed, a check run or the host.

namespace tarnwick::ui {

inline constexpr char kInfoFeedLabel[] = " Feed: ";
inline constexpr char kInfoUrlLabel[] = "\n URL: ";
inline constexpr char kInfoMailboxLabel[] = "\n Mailbox: ";
inline constexpr char kInfoHeaderEnd[] = "\n\n\n";

inline constexpr char kDuplicateAliasText[] =
    "There already exist the feed with the same alias.\n"
    "Please specify unique alias for this feed.";

inline constexpr char kAutomationErrorTitleSuffix[] = " - COM Error";
inline constexpr char kAutomationErrorText[] =
    "This plugin requires Eudora's COM server.\n"
    "To enable automation, check: \n"
    "'Tools/Options/Automation/Automation enabled from this machine'.\n\n"
    "The error message follows:\n";

inline constexpr char kFeedErrorTitleSuffix[] = " - Feed Error";
inline constexpr char kFeedErrorText[] =
    "This is not a valid RSS/Atom feed.\n"
    "Please check the URL-path, make sure computer is on-line, and try again.";

/// A feed that could not be downloaded at all: the download's reason goes between the two.
inline constexpr char kFeedNotDownloadedStart[] = "This feed could not be downloaded.\nReason: ";
inline constexpr char kFeedNotDownloadedEnd[] =
    "\n\nPlease check the URL-path, make sure computer is on-line, and try again.";

inline constexpr char kNewArticlesTitle[] = "You've Got New Articles!";
inline constexpr char kNoNewArticlesTitle[] = "No New Articles :-(";
inline constexpr char kOneFeedNewPrefix[] = "\t\tYou've got ";
inline constexpr char kOneFeedOneNew[] = "one new article for this feed.";
inline constexpr char kOneFeedSeveralNewSuffix[] = " new articles for this feed.";
inline constexpr char kOneFeedNoneNew[] = "\t\tSorry, you've got no new articles for this feed.";
inline constexpr char kRunNewPrefix[] = "\n\n\n\t\t\tYou've got ";
inline constexpr char kRunOneNew[] = "one new article.";
inline constexpr char kRunSeveralNewSuffix[] = " new articles.";
inline constexpr char kRunNoneNew[] = "\n\n\n\t\t\tSorry, you've got no new articles.";

inline constexpr char kStoppedTitleSuffix[] = " - Stopped";
inline constexpr char kStoppedInFeedText[] = "\t\tYou stopped the run while this feed was being checked.\n";
inline constexpr char kStoppedBetweenFeedsText[] = "\n\n\t\t\tYou stopped the run before its next feed.\n";
inline constexpr char kStoppedNewPrefix[] = "\t\tBefore that, you've got ";
inline constexpr char kStoppedNoneNew[] = "\t\tNo new article arrived before that.";
inline constexpr char kStoppedRestLater[] = "\n\t\tWhat did not arrive comes with the next check.";

inline constexpr char kValidFeedText[] = "This is a valid RSS/Atom feed.";

inline constexpr char kInfoOkButton[] = "&OK";
inline constexpr char kVerifyButton[] = "&Verify this Feed...";

/// The online feed validator; the feed's URL follows "check.cgi?url=" exactly as typed.
inline constexpr char kFeedValidatorAddress[] = "https://validator.w3.org/feed/check.cgi?url=";

}  // namespace tarnwick::ui
