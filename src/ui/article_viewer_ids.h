#pragma once

namespace tarnwick::ui {

// Commands of the article viewer. The File menu's mailboxes use the numbers 3 to 1000 (3 is "In",
// the others are the host's mailbox ids) and 2 is Close, so the viewer's own commands lie far above.
inline constexpr int kCloseCommand = 2;
inline constexpr int kForwardInlineCommand = 30001;
inline constexpr int kForwardAttachmentCommand = 30002;
inline constexpr int kSaveAsCommand = 30003;
inline constexpr int kPrintCommand = 30004;
inline constexpr int kFileInToolCommand = 30005;
inline constexpr int kFullArticleCommand = 30010;
inline constexpr int kNewsboxArticleCommand = 30011;
inline constexpr int kModifiedArticleCommand = 30012;
inline constexpr int kSourceCommand = 30013;
inline constexpr int kEditCommand = 30020;
inline constexpr int kTidyCommand = 30021;
inline constexpr int kStripHtmlCommand = 30022;
inline constexpr int kRemoveLineBreaksCommand = 30023;
inline constexpr int kMaximizeCommand = 30030;
inline constexpr int kRestoreCommand = 30031;
inline constexpr int kMinimizeCommand = 30032;
inline constexpr int kStretchCommand = 30033;
inline constexpr int kCenterCommand = 30034;
inline constexpr int kHelpTopicsCommand = 30040;
inline constexpr int kReleaseNotesCommand = 30041;
inline constexpr int kAboutCommand = 30042;

/// What the viewer's status line says after Forward, as the host made the message or did not.
inline constexpr char kForwardedStatusText[] = "Forwarded: the message is in Out, ready to be addressed and sent.";
inline constexpr char kNotForwardedStatusText[] = "Not forwarded: the mail program could not be reached.";

/// The viewer's help page, opened by Help > Topics and F1.
inline constexpr char kViewerHelpTopic[] = "Article Viewer.htm";

}  // namespace tarnwick::ui
