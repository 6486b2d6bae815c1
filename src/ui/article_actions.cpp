#include "ui/article_actions.h"

#include "store/file_utilities.h"

#include <unistd.h>

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

}  // namespace

std::string ForwardSubject(const ArticleViewerModel& article) { return article.Subject() + " (fwd)"; }

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
  const std::string path = store::NumberedFilePath(hostDataFolder + kForwardedFolderName,
                                                   store::SafeFileName(article.Subject()), kForwardedExtension,
                                                   true, false);
  if (path.empty() || !store::FileExists(path) || !store::AppendLine(path, WithoutLineFeeds(text))) return {};
  if (!connection.application.NewOutgoingMessage(ForwardSubject(article), path, kAttachedBody)) return {};
  return path;
}

bool SaveArticleAs(const ArticleViewerModel& article, const std::string& path) {
  if (store::FileExists(path)) unlink(path.c_str());
  store::CreateIfMissing(path);
  return store::AppendLine(path, WithoutLineFeeds(article.ArticleText()));
}

}  // namespace tarnwick::ui
