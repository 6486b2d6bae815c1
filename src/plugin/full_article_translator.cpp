#include "plugin/full_article_translator.h"

#include "feed/download.h"
#include "feed/download_stop_scope.h"
#include "mailbox/header_reader.h"
#include "mailbox/page_charset.h"
#include "mailbox/page_text.h"
#include "mailbox/tracker_removal.h"
#include "platform/application_name.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "plugin/host_memory.h"
#include "store/file_utilities.h"

#include <mutex>
#include <stop_token>
#include <utility>

namespace tarnwick::plugin {
namespace {

using platform::EmsResult;

constexpr char kMessageBodyStart[] = "<br><br>";
constexpr char kHeaderBlockEnd[] = "\r\n\r\n";
// When the page could not be downloaded; the link and the download's reason follow.
constexpr char kPageNotDownloadedText[] = "The full article could not be downloaded.\n\nAddress: %s\nReason: %s";

std::mutex& OpenerLock() {
  static std::mutex lock;
  return lock;
}

ArticleViewerOpener& CurrentOpener() {
  static ArticleViewerOpener opener;
  return opener;
}

DownloadProgressOpener& CurrentProgressOpener() {
  static DownloadProgressOpener opener;
  return opener;
}

// Downloads the page with the progress window shown; the thread's events are handled meanwhile,
// so that its Cancel ends the download at once.
feed::FetchResult DownloadPage(const std::string& link, const std::string& workFile) {
  DownloadProgressOpener opener;
  {
    std::lock_guard guard(OpenerLock());
    opener = CurrentProgressOpener();
  }
  std::stop_source stop;
  const feed::DownloadStopScope stoppable(stop.get_token());
  const std::shared_ptr<void> progress = opener ? opener(link, [&stop] { stop.request_stop(); }) : nullptr;
  // A link read out of a message may only lead to a web page, never to a local file.
  return feed::FetchDocument(link, workFile, feed::UrlOrigin::kFromFeedDocument, {});
}

bool OpenArticleViewer(const std::string& articleHtml, const std::string& headerText) {
  ArticleViewerOpener opener;
  {
    std::lock_guard guard(OpenerLock());
    opener = CurrentOpener();
  }
  return opener ? opener(articleHtml, headerText) : false;
}

std::string RemoveTags(const std::string& text) {
  std::string result;
  size_t start = 0;
  for (size_t open = text.find('<'); open != std::string::npos; open = text.find('<', start)) {
    size_t close = text.find('>', open + 1);
    if (close == std::string::npos) break;
    result.append(text, start, open - start);
    start = close + 1;
  }
  result.append(text, start);
  return result;
}

// The message's own HTML after the lines the newsbox writer puts before the article, shown
// in a viewer; the output file is not touched.
int32_t OpenInViewer(const EmsDataFile& in, const std::string& headers) {
  std::string text = store::ReadWholeFile(in.fileName != nullptr ? in.fileName : "");
  size_t bodyStart = text.find(kMessageBodyStart);
  if (bodyStart != std::string::npos) text.erase(0, bodyStart + std::string(kMessageBodyStart).size());
  // Without a window system there is no viewer to create; the host is told the same either way.
  (void)OpenArticleViewer("<html><body>" + text, headers);
  return platform::kEmsOpenedInViewer;
}

// Writes `text` over the output file from its start. The file is opened for update and so must
// exist; whatever it held beyond the new text is cut off, so that an earlier, longer content
// cannot trail behind the message.
bool WriteOutput(const char* path, const std::string& text) {
  if (path == nullptr) return false;
  platform::File file = platform::File::Open(path, platform::FileAccess::kReadWrite, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return false;
  bool written = file.WriteAll(text) && file.Truncate(text.size());
  return file.Close() && written;
}

int32_t ReplaceByFullArticle(const PluginContext& context, const std::string& headers, const std::string& link,
                             bool plainText, EmsDataFile* out) {
  // Without a plug-in folder there is nowhere to download to (and "/article.html" is no place for it).
  if (context.pluginFolder.empty()) return platform::kEmsPageNotDownloaded;
  const std::string workFile = context.pluginFolder + "/" + kArticleWorkFileName;
  // A work file that outlives its deletion would be taken for the page whenever the download fails.
  if (store::FileExists(workFile)) (void)platform::RemoveFile(workFile);
  if (store::FileExists(workFile)) return platform::kEmsPageNotDownloaded;
  const feed::FetchResult fetched = DownloadPage(link, workFile);
  if (!fetched.errorText.empty()) {
    platform::ShowMessageBox(platform::FillText(kPageNotDownloadedText, {link, fetched.errorText}),
                             platform::kApplicationName);
  }
  if (!store::FileExists(workFile)) return platform::kEmsPageNotDownloaded;

  // The page as the composer reads it: UTF-16 converted whole; binary data is no page; the
  // server's character set counts when the page names none.
  const std::string page = mailbox::ReadPageText(workFile, mailbox::CharsetOfContentType(fetched.answer.contentType));
  platform::RemoveFile(workFile);
  if (page == mailbox::kUnreadablePage) return platform::kEmsPageNotDownloaded;
  const std::string article =
      plainText ? ReduceToPlainText(page)
                : mailbox::RemoveTrackers(WithoutHtmlElementTags(page),
                                          mailbox::TrackingHosts::ReadFrom(context.pluginFolder));

  if (out == nullptr || !WriteOutput(out->fileName, headers + "<x-html>" + article + "</x-html>")) {
    return platform::kEmsOutputNotOpened;
  }
  out->info = NewMimeType("text", "plain");
  return platform::kEmsSuccess;
}

}  // namespace

ArticleViewerOpener SetArticleViewerOpener(ArticleViewerOpener opener) {
  std::lock_guard guard(OpenerLock());
  return std::exchange(CurrentOpener(), std::move(opener));
}

DownloadProgressOpener SetDownloadProgressOpener(DownloadProgressOpener opener) {
  std::lock_guard guard(OpenerLock());
  return std::exchange(CurrentProgressOpener(), std::move(opener));
}

std::string ReduceToPlainText(const std::string& page) {
  // Pages end their lines in CR LF or in LF alone: both are one line end here.
  std::string text = platform::ReplaceAll(RemoveTags(page), "\r\n", "\n");
  // Each replacement runs once over the whole text, in this order: what one leaves behind is not
  // looked at again by it (three spaces lose two and keep one). A blank line between paragraphs
  // becomes one line break, so paragraphs stay apart without the page's empty lines.
  static constexpr std::pair<const char*, const char*> kSteps[] = {
      {"\t", ""},      {"  ", ""},       {"   ", ""},       {"\n\n", "\n"},
      {"\n \n", "\n"}, {"\n  \n", "\n"}, {"\n   \n", "\n"}, {"\n", "<br>"},
  };
  for (const auto& [from, to] : kSteps) text = platform::ReplaceAll(text, from, to);
  return text;
}

std::string WithoutHtmlElementTags(const std::string& page) {
  std::string text = page;
  for (const char* tag : {"<html>", "</html>", "<HTML>", "</HTML>"}) text = platform::ReplaceAll(text, tag, "");
  return text;
}

int32_t TranslateFullArticle(const PluginContext& context, const EmsDataFile* in, EmsDataFile* out) {
  if (in == nullptr || in->header == nullptr) return platform::kEmsNoEntry;
  const char* rawHeaders = in->header->rawHeaders;
  const std::string headers = std::string(rawHeaders != nullptr ? rawHeaders : "") + kHeaderBlockEnd;
  const std::string link = mailbox::ReadHeaderField(headers, kWebsiteHeaderName);
  if (link.empty()) return platform::kEmsNoEntry;

  const bool shift = platform::IsKeyHeld(platform::Key::kShift);
  const bool control = platform::IsKeyHeld(platform::Key::kControl);
  if (!control) return OpenInViewer(*in, headers);
  return ReplaceByFullArticle(context, headers, link, shift, out);
}

}  // namespace tarnwick::plugin
