#include "ui/article_actions.h"

#include "automation/host_message.h"
#include "mailbox/message_layout.h"
#include "mailbox/pending_mailbox.h"
#include "platform/date_format.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "store/file_utilities.h"

#include <algorithm>

namespace tarnwick::ui {
namespace {

constexpr char kForwardedFolderName[] = "/Forwarded Articles";
constexpr char kForwardedExtension[] = "nws";
constexpr char kForwardBegin[] = "--- begin forwarded article\r\n\r\n";
constexpr char kForwardEnd[] = "\r\n\r\n--- end forwarded article";
constexpr char kAttachedBody[] = "Forwarded article attached.";
constexpr char kSavedExtension[] = ".nws";

// CR LF, a lone LF and a lone CR each end a line: all become CR LF, and the text ends with one.
std::string WithCrLfLineEnds(const std::string& text) {
  std::string lines;
  lines.reserve(text.size() + text.size() / 16 + 2);
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\r' || text[at] == '\n') {
      if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
      lines += "\r\n";
    } else {
      lines += text[at];
    }
  }
  if (lines.size() < 2 || lines.compare(lines.size() - 2, 2, "\r\n") != 0) lines += "\r\n";
  return lines;
}

std::string WithoutLineFeeds(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  return text;
}

// Has the host open the filing mailbox and closes the window that opened, bringing the viewer back.
void ShowStagingToHost(const automation::HostAutomation& host, const FileInContext& context) {
  if (host.OpenMailboxByName(kFilingMailboxName) && !host.MailboxWindowTitles().empty() &&
      host.CloseTopMailboxWindow() && context.focusViewer) {
    context.focusViewer();
  }
}

}  // namespace

std::string ForwardSubject(const ArticleViewerModel& article) {
  return article.Subject() + " (fwd)";
}

bool ForwardInline(const automation::HostAutomation& host, const ArticleViewerModel& article) {
  const std::string text = article.ArticleText();
  automation::HostConnectResult connection = host.Connect();
  if (!connection.Connected()) return false;
  return connection.application.NewOutgoingMessage(ForwardSubject(article), "", kForwardBegin + text + kForwardEnd);
}

std::string ForwardAsAttachment(const automation::HostAutomation& host, const ArticleViewerModel& article,
                                const std::string& hostDataFolder) {
  const std::string text = article.ArticleText();
  automation::HostConnectResult connection = host.Connect();
  if (!connection.Connected()) return {};
  const std::string path = store::NumberedFilePath(
      hostDataFolder + kForwardedFolderName, store::SafeFileName(article.Subject()), kForwardedExtension, true, false);
  if (path.empty() || !store::FileExists(path) || !store::AppendLine(path, WithoutLineFeeds(text))) return {};
  if (!connection.application.NewOutgoingMessage(ForwardSubject(article), path, kAttachedBody)) return {};
  return path;
}

bool SaveArticleAs(const ArticleViewerModel& article, const std::string& path) {
  if (store::FileExists(path)) (void)platform::RemoveFile(path);
  platform::File file = platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kTruncate);
  if (!file.IsOpen()) return false;
  const bool written = file.WriteAll(WithCrLfLineEnds(article.ArticleText()));
  return file.Close() && written;
}

std::string SaveAsFileName(const ArticleViewerModel& article) {
  return store::SafeFileName(article.Subject(), sizeof kSavedExtension - 1) + kSavedExtension;
}

FileInResult FileArticleIn(const automation::HostAutomation& host, const ArticleViewerModel& article, int command,
                           const FileInContext& context) {
  if (command < kFileInInCommand || command > kLastFileInCommand) return FileInResult::kNoSuchCommand;
  const int targetId = command == kFileInInCommand ? kInMailboxId : command;
  mailbox::PendingMailbox staging(host, context.hostDataFolder, kFilingMailboxName, context.pause);
  const std::string separator =
      mailbox::MessageSeparator(platform::FormatLocaleDate(context.clock->Now()), *context.clock) + "\r\n";
  const std::string message =
      separator + article.HeaderBlock() + "<x-html>" + mailbox::EscapeFromLines(article.CurrentContent()) + "</x-html>";
  if (!staging.Empty() || !staging.Append(message)) return FileInResult::kNotStaged;
  ShowStagingToHost(host, context);

  automation::HostConnectResult connection = host.Connect();
  if (!connection.Connected()) return FileInResult::kStayedInPending;
  automation::HostCollection messages = connection.application.MailboxByName(kFilingMailboxName).Messages();
  automation::HostFolder target = connection.application.MailboxById(targetId);
  if (!target.IsValid()) return FileInResult::kStayedInPending;
  bool moved = messages.Count() > 0;
  for (int position = messages.Count(); position >= 1; --position) {
    automation::HostMessage staged(messages.Item(position));
    staged.SetStatus(0);
    moved = staged.MoveTo(target) && moved;
  }
  ShowStagingToHost(host, context);
  return moved ? FileInResult::kFiled : FileInResult::kStayedInPending;
}

}  // namespace tarnwick::ui
