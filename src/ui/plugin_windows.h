#pragma once

// The windows as the plug-in opens them, behind a header that does not show the toolkit: the
// plug-in's code stays free of it and calls these on the host's UI thread.

#include "check/check_run.h"
#include "check/check_view.h"
#include "mailbox/new_article_notice.h"
#include "ui/article_viewer.h"
#include "ui/feed_info.h"
#include "ui/feed_properties.h"

#include <functional>
#include <memory>
#include <string>

namespace tarnwick::ui {

/// What a main window needs to know of the module.
struct MainWindowSetup {
  FeedDialogContext files;  // settings file, scratch feed file, data folder, help folder, product name
  std::string versionText;  // "Version: 1.0", for the About box
  bool cacheMode = false;   // the window checks the cached feeds and closes itself
};

/// Makes the check run of a main window: the run reports to `view` (the window) and announces each
/// delivered article to `receiver` (the Newsboard; may be null).
using CheckRunFactory =
    std::function<std::shared_ptr<check::CheckRun>(check::CheckView& view, mailbox::NewArticleReceiver* receiver)>;

/// True when the process runs an application that makes windows on a display: only then may the
/// plug-in open any.
bool WindowsAvailable();

/// Creates the Newsboard, hidden, unless it exists; false when there are no windows or it could
/// not be made. It lives until DestroyNewsboard (or the application's end). Its article viewers
/// use `context`.
bool CreateNewsboard(const ViewerContext& context);
/// Destroys the Newsboard if it exists.
void DestroyNewsboard();
/// True while the Newsboard exists.
bool NewsboardExists();

/// Runs a main window over the host's main window until it closes (in cache mode it checks the
/// cached feeds and closes itself) and returns the report of its run: lastResult -2 when no feed
/// was checked, kNewsboxOpenedResult when the user opened a newsbox.
check::RunReport RunMainWindow(const MainWindowSetup& setup, const CheckRunFactory& makeRun);

/// Opens an article viewer on a message's header block and body, in front; false when there are no
/// windows.
bool OpenArticleViewer(const ViewerContext& context, const std::string& headerBlock, const std::string& bodyText);

/// Shows a window saying that `address` is being downloaded, over the host's main window, until
/// the returned handle is dropped (on the UI thread); its Cancel (or Escape) calls `cancel`. Null
/// when there are no windows.
std::shared_ptr<void> ShowDownloadProgress(const std::string& address, std::function<void()> cancel);

/// Shows the information dialog for `info` over the host's main window and returns when it is closed.
void ShowInformation(const FeedInfo& info);

/// Shows the About box over the host's main window and returns when it is closed.
void ShowAbout(const std::string& productName, const std::string& versionText);

}  // namespace tarnwick::ui
