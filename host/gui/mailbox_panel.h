#pragma once

#include "core/mail_store.h"

#include <wx/panel.h>

#include <cstdint>
#include <string>
#include <vector>

class wxHtmlWindow;
class wxListCtrl;
class wxListEvent;
class wxSplitterWindow;

namespace tarnwick::host::gui {

/// The window of one open mailbox: its messages (subject, from, date; unread ones in bold) above a
/// preview of the selected one. Selecting a message shows it and marks it read.
class MailboxPanel : public wxPanel {
public:
  MailboxPanel(wxWindow* parent, MailStore& store, int32_t mailboxId);

  /// The mailbox shown.
  int32_t MailboxId() const { return mailboxId_; }
  /// Reads the mailbox again: new, gone and changed messages; the selection stays on its message
  /// while it is there, and the preview follows a message whose text changed.
  void Reload();
  /// The id of the selected message; 0 when none.
  uint32_t SelectedMessage() const;
  /// Selects the message at a row (tests and keyboard use). False when there is no such row.
  bool SelectRow(long row);
  /// Gives the message list the keyboard focus.
  void FocusList();

  /// The list of messages.
  wxListCtrl* List() const { return list_; }
  /// The preview of the selected message.
  wxHtmlWindow* Preview() const { return preview_; }

private:
  void OnSelected(wxListEvent& event);
  void OnListSize(wxSizeEvent& event);
  void ShowPreview(uint32_t messageId);
  void FillList(const std::vector<MessageInfo>& messages);

  MailStore& store_;
  int32_t mailboxId_;
  wxSplitterWindow* splitter_ = nullptr;
  wxListCtrl* list_ = nullptr;
  wxHtmlWindow* preview_ = nullptr;
  std::vector<MessageInfo> messages_;
  std::string shownPage_;
  uint32_t shownMessage_ = 0;
  int dateWidth_ = 0;
  bool filling_ = false;
};

}  // namespace tarnwick::host::gui
