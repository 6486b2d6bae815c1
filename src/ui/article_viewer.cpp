#include "ui/article_viewer.h"

#include "ui/article_actions.h"
#include "ui/article_viewer_ids.h"
#include "ui/current_placement.h"
#include "ui/help_key.h"
#include "ui/web_view_backend.h"
#include "ui/window_placement.h"

#include "platform/wait.h"
#include "store/settings_store.h"

#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/webview.h>

#include <optional>
#include <utility>

namespace tarnwick::ui {
namespace {

constexpr char kPlacementPrefix[] = "Message";
// A first viewer opens at a size an article can be read at; later ones where the last one was.
const WindowPlacement kDefaultPlacement{10, 10, 800, 600, WindowState::kNormal};
const wxSize kSmallestSize(400, 200);
const wxSize kLargestSize(2000, 2000);
const wxColour kBackground(212, 208, 200);
constexpr char kBlankPage[] = "about:blank";
constexpr int kStretchBottomMargin = 52;
// The stored body is shown offline: nothing it names is fetched (a remote image would tell its
// sender each time the article is read), and no form in it is sent. Inline styles and images
// carried in the body itself still show. The body's own scripts are off; the viewer's scripts
// reach the page through eval, which stays allowed.
constexpr char kOfflinePolicy[] =
    "default-src 'none'; script-src 'unsafe-eval'; img-src data:; media-src data:; font-src data:; "
    "style-src 'unsafe-inline' data:; form-action 'none'; base-uri 'none'";

// The text as a JavaScript string literal.
std::string ScriptString(const std::string& text) {
  std::string literal = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        literal += "\\\"";
        break;
      case '\\':
        literal += "\\\\";
        break;
      case '\n':
        literal += "\\n";
        break;
      case '\r':
        literal += "\\r";
        break;
      case '<':
        literal += "\\x3c";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
          literal += escaped;
        } else {
          literal += c;
        }
    }
  }
  return literal + "\"";
}

}  // namespace

ArticleViewer* ArticleViewer::Open(const ViewerContext& context, std::string headerBlock, std::string bodyText) {
  auto* viewer = new ArticleViewer(context, std::move(headerBlock), std::move(bodyText));
  viewer->Show();
  viewer->Raise();
  viewer->webView_->SetFocus();
  return viewer;
}

ArticleViewer::ArticleViewer(const ViewerContext& context, std::string headerBlock, std::string bodyText)
    : wxFrame(nullptr, wxID_ANY, wxEmptyString),
      context_(context),
      model_(std::move(headerBlock), std::move(bodyText)),
      host_([](int milliseconds) { platform::WaitMilliseconds(milliseconds); }) {
  SetTitle(wxString::FromUTF8(model_.Title()));
  SetBackgroundColour(kBackground);
  ReadFileInMailboxes();
  BuildMenuBar();
  BuildToolBar();
  CreateStatusBar();

  PrepareWebViews();
  webView_ = wxWebView::New(this, wxID_ANY);
  SuppressPageDialogs(*webView_);
  sourcePane_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                               wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP);
  sourcePane_->SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_TELETYPE)));
  sourcePane_->Hide();
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(webView_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 1);
  sizer->Add(sourcePane_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 1);
  SetSizer(sizer);
  SetSizeHints(kSmallestSize, kLargestSize);

  webView_->Bind(wxEVT_WEBVIEW_LOADED, &ArticleViewer::OnPageLoaded, this);
  webView_->Bind(wxEVT_WEBVIEW_NAVIGATING, &ArticleViewer::OnNavigating, this);
  webView_->Bind(wxEVT_WEBVIEW_ERROR, [this](wxWebViewEvent& event) { failedUrl_ = event.GetURL(); });
  Bind(wxEVT_MENU, &ArticleViewer::OnCommand, this);
  Bind(wxEVT_TOOL, &ArticleViewer::OnCommand, this);
  Bind(wxEVT_CLOSE_WINDOW, &ArticleViewer::OnClose, this);
  Bind(wxEVT_CHAR_HOOK, &ArticleViewer::OnCharHook, this);
  OpenHelpOnF1(*this, context_.helpPath, kViewerHelpTopic);

  PlaceFromSettings();
  ShowMode(ViewMode::kFullArticle);
}

void ArticleViewer::PlaceFromSettings() {
  const WindowPlacement placement =
      ReadWindowPlacement(store::SettingsStore(context_.settingsPath), kPlacementPrefix, kDefaultPlacement);
  SetSize(placement.left, placement.top, placement.width, placement.height);
  if (placement.state == WindowState::kMinimised) Iconize();
  if (placement.state == WindowState::kMaximised) Maximize();
}

void ArticleViewer::SavePlacement() {
  WriteWindowPlacement(store::SettingsStore(context_.settingsPath), kPlacementPrefix, CurrentPlacement(*this));
}

void ArticleViewer::ShowMode(ViewMode mode) {
  const bool wasShowingSource = model_.ShowingSource();
  model_.ChooseMode(mode);
  failedUrl_.clear();
  // A stored body is shown with the page's own scripts off: a feed's markup cannot run code here.
  SetPageScriptsEnabled(*webView_, mode == ViewMode::kFullArticle);
  webView_->LoadURL(mode == ViewMode::kFullArticle ? wxString::FromUTF8(model_.PageAddress()) : wxString(kBlankPage));
  viewMenu_->Check(kFullArticleCommand, mode == ViewMode::kFullArticle);
  viewMenu_->Check(kNewsboxArticleCommand, mode == ViewMode::kNewsboxArticle);
  viewMenu_->Check(kModifiedArticleCommand, false);
  viewMenu_->Check(kSourceCommand, false);
  if (wasShowingSource) ShowPane();
}

void ArticleViewer::ShowPane() {
  const bool source = model_.ShowingSource();
  if (source) sourcePane_->ChangeValue(wxString::FromUTF8(model_.CurrentContent()));
  sourcePane_->Show(source);
  webView_->Show(!source);
  Layout();
  if (source) {
    sourcePane_->SetFocus();
  } else {
    webView_->SetFocus();
  }
}

void ArticleViewer::OnPageLoaded(wxWebViewEvent& event) {
  HandlePageLoaded(event.GetURL());
}

void ArticleViewer::HandlePageLoaded(const wxString& url) {
  if (IsBeingDeleted() || closeWaiting_) return;
  if (!failedUrl_.empty() && url == failedUrl_) return;  // the engine's error page
  // A page that loads while the script of an earlier one waits is handled once that script has
  // its answer: two scripts waiting inside each other would take each other's answers.
  if (pageScriptWaiting_) {
    laterLoadedUrl_ = url;
    return;
  }
  GetMenuBar()->Enable(kModifiedArticleCommand, false);
  // The engine answers a script in a nested event loop, where the user may close the window.
  const NestedLoopScope scope(*this);
  pageScriptWaiting_ = true;
  if (model_.Mode() == ViewMode::kFullArticle) {
    wxString inner;
    if (webView_->RunScript("document.body ? document.body.innerHTML : ''", &inner) && !closeWaiting_) {
      model_.PageLoaded(inner.utf8_string());
    }
  } else if (url == kBlankPage) {
    ShowStoredBody();
  }
  pageScriptWaiting_ = false;
  if (laterLoadedUrl_) HandlePageLoaded(*std::exchange(laterLoadedUrl_, std::nullopt));
}

void ArticleViewer::ShowStoredBody() {
  // The policy goes in before the body, so not one of the body's resources is asked for.
  const std::string script =
      "(function() {"
      " var policy = document.createElement('meta');"
      " policy.httpEquiv = 'Content-Security-Policy';"
      " policy.content = " +
      ScriptString(kOfflinePolicy) +
      ";"
      " document.head.appendChild(policy);"
      " document.body.innerHTML = " +
      ScriptString(model_.BodyText()) +
      ";"
      "})();";
  webView_->RunScript(wxString::FromUTF8(script));
}

void ArticleViewer::OnNavigating(wxWebViewEvent& event) {
  // The stored body stays offline: a refresh or a link in it does not take the view to the network.
  if (model_.Mode() == ViewMode::kNewsboxArticle && event.GetURL() != kBlankPage) event.Veto();
}

void ArticleViewer::OnCommand(wxCommandEvent& event) {
  const NestedLoopScope scope(*this);  // dialogs, menus and the host's calls may run a nested loop
  const int command = event.GetId();
  if (command >= kFileInInCommand && command <= kLastFileInCommand) return OnFileIn(command);
  switch (command) {
    case kForwardInlineCommand:
      ShowForwarded(ForwardInline(host_, model_));
      break;
    case kForwardAttachmentCommand:
      ShowForwarded(!ForwardAsAttachment(host_, model_, context_.hostDataFolder).empty());
      break;
    case kSaveAsCommand:
      OnSaveAs();
      break;
    case kCloseCommand:
      Close();
      break;
    case kFullArticleCommand:
      ShowMode(ViewMode::kFullArticle);
      break;
    case kNewsboxArticleCommand:
      ShowMode(ViewMode::kNewsboxArticle);
      break;
    case kSourceCommand:
      viewMenu_->Check(kSourceCommand, model_.ToggleSource());
      ShowPane();
      break;
    case kFileInToolCommand: {
      std::unique_ptr<wxMenu> menu(BuildFileMenu());
      PopupMenu(menu.get());
      break;
    }
    default:
      if (command >= kMaximizeCommand && command <= kCenterCommand) OnWindowCommand(command);
      if (command >= kHelpTopicsCommand && command <= kAboutCommand) OnHelpCommand(command);
      break;
  }
}

void ArticleViewer::ShowForwarded(bool forwarded) {
  SetStatusText(forwarded ? kForwardedStatusText : kNotForwardedStatusText);
}

void ArticleViewer::OnFileIn(int command) {
  const FileInContext context{context_.hostDataFolder, &clock_,
                              [](int milliseconds) { platform::WaitMilliseconds(milliseconds); },
                              [this] {
                                Raise();
                                SetFocus();
                              }};
  if (FileArticleIn(host_, model_, command, context) != FileInResult::kFiled) return;
  SavePlacement();
  Iconize();
  CloseWindow();
}

void ArticleViewer::OnWindowCommand(int command) {
  const wxRect screen =
      wxDisplay(wxDisplay::GetFromWindow(this) == wxNOT_FOUND ? 0u : wxDisplay::GetFromWindow(this)).GetGeometry();
  switch (command) {
    case kMaximizeCommand:
      Maximize();
      break;
    case kMinimizeCommand:
      Iconize();
      break;
    case kRestoreCommand:
      Restore();
      break;
    case kStretchCommand:
      Restore();
      SetSize(0, 0, screen.width, screen.height - kStretchBottomMargin);
      break;
    case kCenterCommand:
      Restore();
      SetSize(screen.width / 4, screen.height / 4, screen.width / 2, screen.height / 2);
      break;
    default:
      break;
  }
}

void ArticleViewer::OnSaveAs() {
  wxFileDialog dialog(this, "Save Article As...", wxEmptyString, wxString::FromUTF8(SaveAsFileName(model_)),
                      "News File (*.nws)|*.nws|E-Mail File (*.eml)|*.eml|Any File Type (*.*)|*.*",
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  wxString path = dialog.GetPath();
  // A name typed without extension takes the one of the chosen type.
  static const char* const kExtensions[] = {".nws", ".eml", ""};
  const int type = dialog.GetFilterIndex();
  if (type >= 0 && type < 2 && wxFileName(path).GetExt().empty()) path += kExtensions[type];
  SaveArticleAs(model_, path.utf8_string());
}

void ArticleViewer::OnClose(wxCloseEvent&) {
  if (closeWaiting_) return;
  SavePlacement();
  CloseWindow();
}

void ArticleViewer::CloseWindow() {
  if (nestedLoopDepth_ == 0) {
    Destroy();
    return;
  }
  closeWaiting_ = true;
  Hide();
}

ArticleViewer::NestedLoopScope::NestedLoopScope(ArticleViewer& viewer) : viewer_(viewer) {
  ++viewer_.nestedLoopDepth_;
}

ArticleViewer::NestedLoopScope::~NestedLoopScope() {
  if (--viewer_.nestedLoopDepth_ == 0 && viewer_.closeWaiting_) viewer_.Destroy();
}

void ArticleViewer::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) return;  // Escape does not close the viewer
  event.Skip();
}

}  // namespace tarnwick::ui
