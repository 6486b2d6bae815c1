#pragma once

#include "core/host_core.h"
#include "core/plugin_set.h"
#include "gui/change_queue.h"

#include <wx/frame.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class wxNotebook;
class wxBookCtrlEvent;
class wxSplitterWindow;
class wxTreeEvent;

namespace tarnwick::host::gui {

class MailboxPanel;
class MailboxTreeView;

/// The host's main window: the mailbox tree of the data folder beside the open mailbox windows (a
/// tab each, the topmost selected), the Special menu with the plug-ins' entries, the Message menu
/// with their translators, and a status bar. It draws the host's windows model: opening, closing
/// and raising mailbox windows, the status text and "bring forward" all go through the model, by a
/// plug-in or by the user alike, and the frame follows on the UI thread. Mailbox windows and the
/// tree's counts follow the mail store's changes the same way.
class HostFrame : public wxFrame {
public:
  /// `core` and `plugins` must outlive the frame.
  HostFrame(HostCore& core, PluginSet& plugins);
  ~HostFrame() override;

  /// The mailbox tree.
  MailboxTreeView* Tree() const { return tree_; }
  /// The tabs of the mailbox windows.
  wxNotebook* MailboxWindows() const { return notebook_; }
  /// The window of an open mailbox, or null.
  MailboxPanel* PanelOf(int32_t mailboxId) const;
  /// The topmost mailbox window, or null.
  MailboxPanel* TopmostPanel() const;

private:
  // A menu entry that calls into a plug-in.
  struct PluginCommand {
    bool translator = false;
    size_t plugin = 0;
    int32_t entryId = 0;
    std::string label;
  };

  void BuildMenus();
  void BuildLayout();
  void ListenForChanges();
  void StopListening();
  void ApplyChanges();
  void SyncWindows();
  void SyncMailboxTabs();
  void ShowStatusText();
  void OnTreeActivated(wxTreeEvent& event);
  void OnPageChanged(wxBookCtrlEvent& event);
  void OnOpenMailbox(wxCommandEvent& event);
  void OnCloseMailbox(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnPluginCommand(wxCommandEvent& event);
  void OnUpdateTranslator(wxUpdateUIEvent& event);
  void RunSpecialEntry(const PluginCommand& command);
  void RunTranslator(const PluginCommand& command);

  HostCore& core_;
  PluginSet& plugins_;
  std::shared_ptr<ChangeQueue> changes_;
  std::vector<PluginCommand> commands_;
  wxSplitterWindow* splitter_ = nullptr;
  MailboxTreeView* tree_ = nullptr;
  wxNotebook* notebook_ = nullptr;
  std::map<int32_t, MailboxPanel*> panels_;
  int broughtForwardSeen_ = 0;
  int pluginCalls_ = 0;  // plug-in calls under way: the frame must not go while one runs
  bool syncing_ = false;
};

}  // namespace tarnwick::host::gui
