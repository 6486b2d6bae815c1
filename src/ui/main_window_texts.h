#pragma once

// Texts, settings keys and help topics of the main window.

namespace tarnwick::ui {

inline constexpr char kNewsboxesLabel[] = "News&boxes:";
inline constexpr char kFeedsGroupLabel[] = "&Feeds";
inline constexpr char kFeedsColumnTitle[] = "Feeds";
inline constexpr char kNewsboxColumnTitle[] = "newsbox";

inline constexpr char kAddButtonText[] = "&Add";
inline constexpr char kEditButtonText[] = "&Edit";
inline constexpr char kDeleteButtonText[] = "&Delete";
inline constexpr char kDownloadButtonText[] = "D&ownload";
inline constexpr char kStopButtonText[] = "&Stop";
inline constexpr char kNewsboardButtonText[] = "&Newsboard";
inline constexpr char kHelpButtonText[] = "&Help";
inline constexpr char kCloseButtonText[] = "&Close";

/// What the two status lines say before anything is shown in them.
inline constexpr char kDetailsStatusPlaceholder[] = "progress information - details";
inline constexpr char kGeneralStatusPlaceholder[] = "progress information - general";

/// The information line of one selected feed: alias + infix + line break + its "LastArticle".
inline constexpr char kLastArticleInfix[] = " - Last Article: ";
/// The information line of one selected feed that is failing: alias + infix + its failures in a
/// row + a suffix + line break + the cause of the latest failure.
inline constexpr char kFailingInfix[] = " - Failing (";
inline constexpr char kFailureInARowSuffix[] = " failure in a row):";
inline constexpr char kFailuresInARowSuffix[] = " failures in a row):";
/// After the last article of one selected feed that is quiet.
inline constexpr char kQuietSuffix[] = "  (quiet: no new article for 90 days)";
/// The information line otherwise: prefix + line break + the time in the clock's pattern.
inline constexpr char kCurrentTimePrefix[] = "Current Time: ";
inline constexpr char kClockPattern[] = "%m/%d/%Y %H:%M:%S";

/// The newsbox menu.
inline constexpr char kOpenNewsboxCommandText[] = "&Open\tEnter";
inline constexpr char kCloseNewsboxCommandText[] = "&Close";

/// The feed menu, its file dialogs and what the window says after an export.
inline constexpr char kImportFeedsCommandText[] = "&Import Feeds...";
inline constexpr char kExportFeedsCommandText[] = "&Export Feeds...";
inline constexpr char kImportFeedsTitle[] = "Import Feeds";
inline constexpr char kExportFeedsTitle[] = "Export Feeds";
inline constexpr char kFeedListWildcard[] = "Feed Lists (*.opml;*.xml)|*.opml;*.xml|Any File Type (*.*)|*.*";
inline constexpr char kExportFileName[] = "feeds.opml";
inline constexpr char kExportExtension[] = ".opml";
inline constexpr char kFeedsExportedPrefix[] = "Feeds exported to ";
/// The feed menu's last item, and the buttons that reach the import and the export.
inline constexpr char kSelectAllFeedsCommandText[] = "Select &All\tCtrl+A";
inline constexpr char kImportFeedsButtonText[] = "&Import Feeds...";
inline constexpr char kExportFeedsButtonText[] = "E&xport Feeds...";
inline constexpr char kNetworkOptionsButtonText[] = "Ne&twork...";

/// The question Delete asks: prefix + alias + suffix.
inline constexpr char kDeleteFeedQuestionPrefix[] = "Delete the feed \"";
inline constexpr char kDeleteFeedQuestionSuffix[] = "\"?\n\nThe articles it has delivered stay in their newsbox.";

/// Help topics the window opens.
inline constexpr char kDownloadingArticlesTopic[] = "Downloading Articles.htm";
inline constexpr char kGettingStartedTopic[] = "Getting Started.htm";

/// Where the window's position is kept, in section "Windows" of the settings file.
inline constexpr char kPositionLeftKey[] = "PositionLeft";
inline constexpr char kPositionTopKey[] = "PositionTop";

/// The About box, which the main window opens with Shift+F1.
inline constexpr char kAboutTitlePrefix[] = "About ";
inline constexpr char kAboutDescription[] =
    "Delivers the articles of RSS and Atom feeds into your mailboxes, where you read them like mail.";
inline constexpr char kAboutOkButtonText[] = "OK";

}  // namespace tarnwick::ui
