#include "ui/plugin_windows.h"

#include "ui/about_box.h"
#include "ui/download_progress_window.h"
#include "ui/feed_info_dialog.h"
#include "ui/main_window.h"
#include "ui/newsboard_window.h"
#include "ui/toolkit.h"
#include "ui/window_parent.h"

#include <wx/weakref.h>

namespace tarnwick::ui {
namespace {

// The application ends its remaining windows itself when it ends before the module does; the
// weak reference then forgets the Newsboard.
wxWeakRef<NewsboardWindow>& Newsboard() {
  static wxWeakRef<NewsboardWindow> newsboard;
  return newsboard;
}

}  // namespace

bool WindowsAvailable() {
  return ToolkitMakesWindows();
}

bool CreateNewsboard(const ViewerContext& context) {
  if (!WindowsAvailable()) return false;
  if (!Newsboard()) Newsboard() = new NewsboardWindow(context);
  return Newsboard() != nullptr;
}

void DestroyNewsboard() {
  NewsboardWindow* newsboard = Newsboard();
  Newsboard() = nullptr;
  delete newsboard;
}

bool NewsboardExists() {
  return Newsboard() != nullptr;
}

check::RunReport RunMainWindow(const MainWindowSetup& setup, const CheckRunFactory& makeRun) {
  MainWindow window(HostMainWindow(), setup, makeRun, Newsboard().get());
  window.RunModally();
  return window.Report();
}

bool OpenArticleViewer(const ViewerContext& context, const std::string& headerBlock, const std::string& bodyText) {
  return WindowsAvailable() && ArticleViewer::Open(context, headerBlock, bodyText) != nullptr;
}

std::shared_ptr<void> ShowDownloadProgress(const std::string& address, std::function<void()> cancel) {
  if (!WindowsAvailable()) return nullptr;
  auto* window = new DownloadProgressWindow(HostMainWindow(), address, std::move(cancel));
  // The application may have ended its windows by the time the handle goes.
  wxWeakRef<DownloadProgressWindow> shown(window);
  return std::shared_ptr<DownloadProgressWindow>(window, [shown](DownloadProgressWindow*) mutable {
    if (shown) shown->Dismiss();
  });
}

void ShowInformation(const FeedInfo& info) {
  ShowFeedInfoDialog(HostMainWindow(), info);
}

void ShowAbout(const std::string& productName, const std::string& versionText) {
  ShowAboutBox(HostMainWindow(), productName, versionText);
}

}  // namespace tarnwick::ui
