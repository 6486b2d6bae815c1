#pragma once

#include "core/mail_store.h"

#include <wx/treectrl.h>

#include <cstdint>
#include <map>

namespace tarnwick::host::gui {

/// The tree of the data folder's mailboxes and folders, in the store's order, each mailbox with
/// its unread and total counts. Double click or Enter on a mailbox is the frame's to handle.
class MailboxTreeView : public wxTreeCtrl {
public:
  MailboxTreeView(wxWindow* parent, MailStore& store);

  /// Builds the tree anew from the store (mailboxes or folders came or went), keeping the folders
  /// that were open open and the selection where it was. New folders start open.
  void Rebuild();
  /// Writes every mailbox's counts into its label again.
  void UpdateCounts();

  /// The id of the mailbox or folder an item stands for; 0 for none.
  int32_t IdOf(const wxTreeItemId& item) const;
  /// The item of a mailbox or folder; invalid when it is not in the tree.
  wxTreeItemId ItemOf(int32_t id) const;

private:
  void UpdateLabel(int32_t id, const wxTreeItemId& item);

  MailStore& store_;
  std::map<int32_t, wxTreeItemId> items_;
  std::map<int32_t, bool> isMailbox_;
  std::map<int32_t, std::string> names_;
};

}  // namespace tarnwick::host::gui
