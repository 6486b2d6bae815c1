#pragma once

#include "automation/host_automation.h"
#include "mailbox/mailbox_tree.h"
#include "platform/clock.h"
#include "ui/article_viewer_model.h"

#include <wx/frame.h>

#include <optional>
#include <string>
#include <vector>

class wxMenu;
class wxTextCtrl;
class wxToolBar;
class wxWebView;
class wxWebViewEvent;

namespace tarnwick::ui {

/// What every article viewer needs of the module's settings and the host.
struct ViewerContext {
  std::string settingsPath;
  std::string hostDataFolder;
  std::string inMailboxPath;
  std::string outMailboxPath;
  std::string helpPath;
  std::string productName;
  std::string versionText;
  bool tidyRegistered = false;
};

/// One article in its own top-level window: its web page or the body stored in the newsbox, or the
/// source of either, with forwarding, saving and filing through the host. The window deletes
/// itself when it is closed. Runs on the UI thread.
class ArticleViewer : public wxFrame {
public:
  /// Makes a viewer for the message's header block and stored body, shows it at the stored place
  /// and brings it to the front; it starts loading the article's web page. Null when the window
  /// could not be made.
  static ArticleViewer* Open(const ViewerContext& context, std::string headerBlock, std::string bodyText);

  const ArticleViewerModel& Model() const { return model_; }
  /// The web view and the source pane, for tests.
  wxWebView* WebView() const { return webView_; }
  wxTextCtrl* SourcePane() const { return sourcePane_; }

private:
  ArticleViewer(const ViewerContext& context, std::string headerBlock, std::string bodyText);

  void BuildMenuBar();
  wxMenu* BuildFileMenu() const;
  void ReadFileInMailboxes();
  void BuildToolBar();
  void PlaceFromSettings();
  void SavePlacement();
  void ShowMode(ViewMode mode);
  void ShowPane();
  void OnPageLoaded(wxWebViewEvent& event);
  void HandlePageLoaded(const wxString& url);
  void OnNavigating(wxWebViewEvent& event);
  void ShowStoredBody();
  void OnCommand(wxCommandEvent& event);
  void OnFileIn(int command);
  void ShowForwarded(bool forwarded);
  void OnWindowCommand(int command);
  void OnHelpCommand(int command);
  void OnSaveAs();
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void CloseWindow();

  // Marks a handler that may spin a nested event loop (a page script, a modal dialog, a menu).
  // A close asked for inside one only hides the window; it is destroyed when the outermost such
  // handler returns, never while a loop inside it could still reach it.
  class NestedLoopScope {
  public:
    explicit NestedLoopScope(ArticleViewer& viewer);
    ~NestedLoopScope();
    NestedLoopScope(const NestedLoopScope&) = delete;
    NestedLoopScope& operator=(const NestedLoopScope&) = delete;

  private:
    ArticleViewer& viewer_;
  };

  ViewerContext context_;
  ArticleViewerModel model_;
  automation::HostAutomation host_;
  platform::SystemClock clock_;
  wxWebView* webView_ = nullptr;
  wxTextCtrl* sourcePane_ = nullptr;
  wxMenu* viewMenu_ = nullptr;
  std::vector<mailbox::MailboxTreeNode> fileInMailboxes_;  // read from the host once, when the viewer opens
  wxString failedUrl_;  // the address whose load failed: the engine shows its error page for it
  int nestedLoopDepth_ = 0;
  bool closeWaiting_ = false;               // closed inside a nested loop: destroyed once it has returned
  bool pageScriptWaiting_ = false;          // a loaded page's script waits for the engine's answer
  std::optional<wxString> laterLoadedUrl_;  // a page that loaded meanwhile, handled after it
};

}  // namespace tarnwick::ui
