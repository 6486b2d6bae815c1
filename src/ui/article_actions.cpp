#include "ui/article_actions.h"

#include "automation/host_message.h"
#include "mailbox/message_layout.h"
#include "mailbox/newsbox_writer.h"
#include "mailbox/pending_mailbox.h"
#include "platform/date_format.h"
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

std::string WithoutLineFeeds(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  return text;
}

// Has the host open "Pending" and closes the window that opened, bringing the viewer back.
void ShowPendingToHost(const automation::HostAutomation& host, const FileInContext& context) {
  if (host.OpenMailboxByName(mailbox::kPendingMailboxName) && !host.MailboxWindowTitles().empty() &&
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
  if (store::FileExists(path)) platform::RemoveFile(path);
  store::CreateIfMissing(path);
  return store::AppendLine(path, WithoutLineFeeds(article.ArticleText()));
}

FileInResult FileArticleIn(const automation::HostAutomation& host, const ArticleViewerModel& article, int command,
                           const FileInContext& context) {
  if (command < kFileInInCommand || command > kLastFileInCommand) return FileInResult::kNoSuchCommand;
  const int targetId = command == kFileInInCommand ? kInMailboxId : command;
  mailbox::PendingMailbox pending(host, context.hostDataFolder, context.pause);
  const std::string separator =
      mailbox::MessageSeparator(platform::FormatLocaleDate(context.clock->Now()), *context.clock) + "\r\n";
  const std::string message =
      separator + article.HeaderBlock() + "<x-html>" + mailbox::EscapeFromLines(article.CurrentContent()) + "</x-html>";
  if (!pending.Empty() || !pending.Append(message)) return FileInResult::kNotStaged;
  ShowPendingToHost(host, context);

  automation::HostConnectResult connection = host.Connect();
  if (!connection.Connected()) return FileInResult::kStayedInPending;
  automation::HostCollection messages = connection.application.MailboxByName(mailbox::kPendingMailboxName).Messages();
  automation::HostFolder target = connection.application.MailboxById(targetId);
  if (!target.IsValid()) return FileInResult::kStayedInPending;
  bool moved = messages.Count() > 0;
  for (int position = messages.Count(); position >= 1; --position) {
    automation::HostMessage staged(messages.Item(position));
    staged.SetStatus(0);
    moved = staged.MoveTo(target) && moved;
  }
  ShowPendingToHost(host, context);
  return moved ? FileInResult::kFiled : FileInResult::kStayedInPending;
}

}  // namespace tarnwick::ui
