// The host frame's windows: layout, the mailbox tree, and the mailbox windows drawn from the
// windows model. The plug-in menus are in host_frame_plugins.cpp.
#include "gui/host_frame.h"

#include "gui/gui_texts.h"
#include "gui/mailbox_panel.h"
#include "gui/mailbox_tree_view.h"

#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>

#include <algorithm>

namespace tarnwick::host::gui {
namespace {

constexpr int kTreeWidth = 250;
const wxSize kFrameSize(1060, 720);
const wxSize kFrameMinimumSize(640, 420);

}  // namespace

HostFrame::HostFrame(HostCore& core, PluginSet& plugins)
    : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8(kFrameTitlePrefix + core.Store().DataFolder()), wxDefaultPosition,
              kFrameSize),
      core_(core),
      plugins_(plugins) {
  SetMinSize(kFrameMinimumSize);
  BuildMenus();
  BuildLayout();
  CreateStatusBar(1);
  broughtForwardSeen_ = core_.Windows()->TimesBroughtForward();
  core_.Windows()->SetMainWindowPresent(true);
  tree_->Rebuild();
  SyncWindows();
  ListenForChanges();
  Bind(wxEVT_CLOSE_WINDOW, &HostFrame::OnClose, this);
}

HostFrame::~HostFrame() {
  StopListening();
}

void HostFrame::BuildLayout() {
  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_LIVE_UPDATE | wxSP_3DSASH);
  tree_ = new MailboxTreeView(splitter_, core_.Store());
  notebook_ = new wxNotebook(splitter_, wxID_ANY);
  splitter_->SetMinimumPaneSize(120);
  splitter_->SplitVertically(tree_, notebook_, kTreeWidth);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(splitter_, 1, wxEXPAND);
  SetSizer(sizer);

  tree_->Bind(wxEVT_TREE_ITEM_ACTIVATED, &HostFrame::OnTreeActivated, this);
  notebook_->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &HostFrame::OnPageChanged, this);
}

void HostFrame::ListenForChanges() {
  changes_ = std::make_shared<ChangeQueue>([this] { CallAfter(&HostFrame::ApplyChanges); });
  std::shared_ptr<ChangeQueue> changes = changes_;
  // The listeners hold the queue, not the frame: a notice that arrives from another thread while
  // the frame goes finds a detached queue.
  core_.Windows()->SetChangeListener([changes] { changes->WindowsChanged(); });
  core_.Store().SetChangeListener([changes](int32_t changedId) { changes->StoreChanged(changedId); });
}

void HostFrame::StopListening() {
  if (!changes_) return;
  core_.Windows()->SetChangeListener({});
  core_.Store().SetChangeListener({});
  changes_->Detach();
  changes_.reset();
  core_.Windows()->SetMainWindowPresent(false);
}

void HostFrame::ApplyChanges() {
  if (!changes_) return;
  PendingChanges changes = changes_->Take();
  if (changes.mailboxIds.count(kTreeChanged) != 0) {
    tree_->Rebuild();
  } else if (!changes.mailboxIds.empty()) {
    tree_->UpdateCounts();
  }
  for (int32_t id : changes.mailboxIds) {
    if (MailboxPanel* panel = PanelOf(id)) panel->Reload();
  }
  if (changes.windows) SyncWindows();
}

void HostFrame::SyncWindows() {
  SyncMailboxTabs();
  ShowStatusText();
  const int broughtForward = core_.Windows()->TimesBroughtForward();
  if (broughtForward != broughtForwardSeen_) {
    broughtForwardSeen_ = broughtForward;
    if (IsIconized()) Iconize(false);
    Show();
    Raise();
    if (MailboxPanel* panel = TopmostPanel()) panel->FocusList();
  }
}

void HostFrame::SyncMailboxTabs() {
  const std::vector<MailboxWindow> windows = core_.Windows()->MailboxWindows();
  auto isOpen = [&](int32_t id) {
    return std::any_of(windows.begin(), windows.end(),
                       [&](const MailboxWindow& window) { return window.mailboxId == id; });
  };
  syncing_ = true;
  notebook_->Freeze();
  for (size_t page = notebook_->GetPageCount(); page-- > 0;) {
    auto* panel = static_cast<MailboxPanel*>(notebook_->GetPage(page));
    if (isOpen(panel->MailboxId())) continue;
    panels_.erase(panel->MailboxId());
    notebook_->DeletePage(page);
  }
  // New windows are added bottom first, so the tabs keep the order in which they were opened.
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    const wxString title = wxString::FromUTF8(window->title);
    auto open = panels_.find(window->mailboxId);
    if (open == panels_.end()) {
      auto* panel = new MailboxPanel(notebook_, core_.Store(), window->mailboxId);
      notebook_->AddPage(panel, title);
      panels_[window->mailboxId] = panel;
    } else if (int page = notebook_->FindPage(open->second); notebook_->GetPageText(page) != title) {
      notebook_->SetPageText(page, title);
    }
  }
  if (!windows.empty()) {
    const int page = notebook_->FindPage(panels_[windows.front().mailboxId]);
    if (notebook_->GetSelection() != page) notebook_->ChangeSelection(page);
  }
  notebook_->Thaw();
  syncing_ = false;
}

void HostFrame::ShowStatusText() {
  const std::string text = core_.Windows()->StatusText();
  const wxString shown = wxString::FromUTF8(text.empty() ? kReadyText : text);
  if (GetStatusBar()->GetStatusText() != shown) SetStatusText(shown);
}

MailboxPanel* HostFrame::PanelOf(int32_t mailboxId) const {
  auto open = panels_.find(mailboxId);
  return open != panels_.end() ? open->second : nullptr;
}

MailboxPanel* HostFrame::TopmostPanel() const {
  const int page = notebook_->GetSelection();
  return page == wxNOT_FOUND ? nullptr : static_cast<MailboxPanel*>(notebook_->GetPage(page));
}

void HostFrame::OnTreeActivated(wxTreeEvent& event) {
  const int32_t id = tree_->IdOf(event.GetItem());
  std::optional<MailboxInfo> info = core_.Store().Info(id);
  if (!info) return;
  if (info->isMailbox) {
    core_.Windows()->OpenMailboxWindow(id, info->name);
  } else {
    event.Skip();  // a folder opens and closes as trees do
  }
}

void HostFrame::OnOpenMailbox(wxCommandEvent&) {
  std::optional<MailboxInfo> info = core_.Store().Info(tree_->IdOf(tree_->GetSelection()));
  if (info && info->isMailbox) core_.Windows()->OpenMailboxWindow(info->id, info->name);
}

void HostFrame::OnPageChanged(wxBookCtrlEvent& event) {
  event.Skip();
  if (syncing_) return;
  // The user brought a mailbox window to the top: the model's order follows.
  if (MailboxPanel* panel = TopmostPanel()) {
    const std::string title = notebook_->GetPageText(static_cast<size_t>(event.GetSelection())).utf8_string();
    core_.Windows()->OpenMailboxWindow(panel->MailboxId(), title);
  }
}

void HostFrame::OnCloseMailbox(wxCommandEvent&) {
  if (MailboxPanel* panel = TopmostPanel()) core_.Windows()->CloseMailboxWindowOf(panel->MailboxId());
}

void HostFrame::OnClose(wxCloseEvent& event) {
  // A plug-in's call (a Special-menu entry running its own windows) is on the stack: going now
  // would pull the frame from under it.
  if (pluginCalls_ > 0 && event.CanVeto()) {
    event.Veto();
    return;
  }
  StopListening();
  Destroy();
}

}  // namespace tarnwick::host::gui
