#pragma once

#include "automation/host_automation.h"
#include "ui/article_viewer_model.h"

#include "platform/clock.h"

#include <functional>
#include <string>

namespace tarnwick::ui {

/// The subject of a forwarded article: the article's subject and " (fwd)".
std::string ForwardSubject(const ArticleViewerModel& article);

/// Asks the host for a new outgoing message whose body is the article text between the two
/// "--- begin/end forwarded article" lines. False (nothing shown) when the host cannot be reached.
bool ForwardInline(const automation::HostAutomation& host, const ArticleViewerModel& article);

/// Writes the article text, line feeds removed, into a new numbered ".nws" file of the folder
/// "Forwarded Articles" of the data folder, and asks the host for a new outgoing message with that
/// file attached. The file's path, or empty when the host cannot be reached or the folder or file
/// cannot be made or written (then no message is asked for).
std::string ForwardAsAttachment(const automation::HostAutomation& host, const ArticleViewerModel& article,
                                const std::string& hostDataFolder);

/// Writes the article text as the whole file at `path` (replacing a file that was there), every
/// line ending in CR LF, the last one too. False when it could not be written.
bool SaveArticleAs(const ArticleViewerModel& article, const std::string& path);

/// The file name Save As proposes: the headline made fit for a file name, as a news file.
std::string SaveAsFileName(const ArticleViewerModel& article);

/// The File menu's command for the host's "In" mailbox, and the highest command a mailbox can have.
inline constexpr int kFileInInCommand = 3;
inline constexpr int kLastFileInCommand = 1000;
/// The host's id of its "In" mailbox.
inline constexpr int kInMailboxId = 2;

/// The host mailbox an article is staged in on its way to the mailbox it is filed into. It is not
/// "Pending": a check run may be staging there at the same moment (filing happens while a run
/// lets the windows work), and filing must never empty what a run has staged.
inline constexpr char kFilingMailboxName[] = "Pending Filing";

/// How filing an article into a mailbox went.
enum class FileInResult {
  kFiled,            // the message is in the target mailbox: the viewer closes
  kNotStaged,        // the filing mailbox could not be emptied or written: nothing happened
  kStayedInPending,  // the host could not be reached, or has no such mailbox: the message waits in the filing mailbox
  kNoSuchCommand,    // a command outside the mailbox commands: nothing happened
};

/// What filing needs besides the article and the host.
struct FileInContext {
  std::string hostDataFolder;
  const platform::Clock* clock = nullptr;
  std::function<void(int milliseconds)> pause;  // the host's pauses
  std::function<void()> focusViewer;            // the viewer comes back to the front after the host's window closed
};

/// Files a copy of the article into the host mailbox of the File menu's `command` (3 stands for
/// "In", other commands are mailbox ids up to 1000): stages it in the filing mailbox as a message
/// (the separator for now, the header block and the current content in "<x-html>"), has the host
/// read that mailbox and move every message of it into the target, last first, marked unread.
/// "Pending" is never touched.
FileInResult FileArticleIn(const automation::HostAutomation& host, const ArticleViewerModel& article, int command,
                           const FileInContext& context);

}  // namespace tarnwick::ui
