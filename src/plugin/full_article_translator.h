#pragma once

#include "platform/ems_records.h"
#include "plugin/plugin_context.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarnwick::plugin {

/// The work file in the plug-in folder that a full article is downloaded to.
inline constexpr char kArticleWorkFileName[] = "article.html";
/// The header line of a delivered article that names its web page.
inline constexpr char kWebsiteHeaderName[] = "Website: ";

/// Opens an article viewer showing `articleHtml`, with `headerText` as the message's header block;
/// true when a viewer was created (and shown).
using ArticleViewerOpener = std::function<bool(const std::string& articleHtml, const std::string& headerText)>;

/// Installs the function that opens article viewers (the UI installs its window; tests a
/// recorder) and returns the one it replaced. Without one no viewer can be created.
ArticleViewerOpener SetArticleViewerOpener(ArticleViewerOpener opener);

/// Shows that the page at an address is being downloaded until the returned handle is dropped,
/// and calls `cancel` when the user asks to stop; null when nothing is shown.
using DownloadProgressOpener =
    std::function<std::shared_ptr<void>(const std::string& address, std::function<void()> cancel)>;

/// Installs the function that shows a download in progress (the UI installs its window) and
/// returns the one it replaced. Without one nothing is shown and the download cannot be cancelled.
DownloadProgressOpener SetDownloadProgressOpener(DownloadProgressOpener opener);

/// The page as plain text for a message body: every tag removed (from a "<" to the first ">"
/// after it; a "<" with no ">" after it is kept with the rest), then tabs and runs of two and three
/// spaces dropped, a blank line between paragraphs made one line break, and each line break (CR LF
/// or LF) turned into "<br>".
std::string ReduceToPlainText(const std::string& page);

/// The page with the exact tags "<html>", "</html>", "<HTML>" and "</HTML>" removed, so that it
/// can sit inside the message's own HTML part; the rest of the markup stays.
std::string WithoutHtmlElementTags(const std::string& page);

/// "Get the Full Article" on the message `in` (its header record and file), using the keyboard
/// as it is now. Without Ctrl the message opens in an article viewer: 11, output untouched.
/// With Ctrl the page named by its "Website: " line is downloaded into the plug-in folder's work
/// file and, reduced to plain text when Shift is held too, written with the headers over the
/// output file `out`, which gets the MIME type text/plain (released by the host through
/// ems_free): 0. While the page downloads, the thread's user-interface events are handled and the
/// download progress window (SetDownloadProgressOpener) can cancel it. Failures: 1 without header
/// record or "Website: " line, 12 when the page could not be downloaded (said once in a message
/// box, with the reason; nothing said when the user cancelled) or read (or an earlier work file
/// cannot be deleted), 6 when the output file cannot be opened or written; the output is
/// untouched by every failure but 6.
int32_t TranslateFullArticle(const PluginContext& context, const EmsDataFile* in, EmsDataFile* out);

}  // namespace tarnwick::plugin
