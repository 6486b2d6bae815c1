#pragma once

#include "mailbox/mailbox_tree.h"

#include <wx/dialog.h>
#include <wx/treectrl.h>

#include <map>
#include <string>

namespace tarnwick::ui {

/// Control ids of the picker's tree and of its "New Newsbox..." button.
inline constexpr int kMailboxTreeId = 1051;
inline constexpr int kNewNewsboxButtonId = 1052;
/// Images of the picker's tree, by their place in its image list.
enum MailboxTreeImage { kRootImage = 0, kMailboxImage = 1, kClosedFolderImage = 2, kOpenFolderImage = 3 };

/// The "Mailboxes" dialog: the host's mailboxes and folders as a tree under the data folder, from
/// which the user picks a feed's newsbox. A double click or Enter on a mailbox chooses it (result
/// 1); on a folder it only opens or closes the folder. "New Newsbox..." has the host make a mailbox
/// in the selected folder (at the top when none is) and chooses it. Escape cancels; there is no
/// close box.
class MailboxPicker : public wxDialog {
public:
  /// Reads the host's mailboxes (an unreachable host is reported in one message box and leaves
  /// the root alone) and opens the folders down to `newsboxPath` when that file exists.
  /// F1 opens the settings page of the help folder `helpPath`.
  MailboxPicker(wxWindow* parent, const std::string& dataFolder, const std::string& newsboxPath,
                const std::string& helpPath = {});

  /// The tree control.
  wxTreeCtrl& Tree() { return *tree_; }
  /// The entry an item of the tree stands for; null for an invalid item.
  const mailbox::MailboxEntry* EntryOf(const wxTreeItemId& item) const;
  /// The mailbox chosen: its file's path and its display name (empty until one is chosen).
  const std::string& ChosenPath() const { return chosenPath_; }
  const std::string& ChosenName() const { return chosenName_; }

private:
  void AddChildren(const wxTreeItemId& parent, const mailbox::MailboxTreeNode& node,
                   std::map<const mailbox::MailboxTreeNode*, wxTreeItemId>& items);
  void Preselect(const mailbox::MailboxTreeNode& root, const std::string& newsboxPath,
                 const std::map<const mailbox::MailboxTreeNode*, wxTreeItemId>& items);
  void OnFolderToggled(wxTreeEvent& event, bool expanded);
  void OnActivated(wxTreeEvent& event);
  void OnKey(wxKeyEvent& event);
  void OnNewNewsbox();
  const mailbox::MailboxEntry* FolderForNewNewsbox() const;

  wxTreeCtrl* tree_ = nullptr;
  std::string chosenPath_;
  std::string chosenName_;
};

/// Runs the picker modally on `newsboxPath`; on 1 the chosen mailbox's path and name are in
/// `path` and `name`, on any other result they are left as they were. Call on the UI thread.
int ShowMailboxPicker(wxWindow* parent, const std::string& dataFolder, std::string& path, std::string& name,
                      const std::string& helpPath = {});

}  // namespace tarnwick::ui
