#include "gui/mailbox_panel.h"

#include "gui/gui_texts.h"
#include "gui/message_preview.h"

#include <wx/html/htmlwin.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/splitter.h>

namespace tarnwick::host::gui {
namespace {

enum Column { kSubjectColumnIndex, kFromColumnIndex, kDateColumnIndex };
constexpr int kFromWidth = 220;
// The widest date a listing shows, with room for the column's margins.
constexpr char kWidestDate[] = "Wed, 30 Sep 2003 23:59:59 +0000";
constexpr int kColumnMargin = 24;
constexpr int kMinimumSubjectWidth = 160;
constexpr int kListHeight = 220;

// The preview: a page of the message and nothing else. It fetches nothing (no images, no frames,
// no pages behind links), so a message cannot make the host read files or reach the network.
class PreviewWindow : public wxHtmlWindow {
public:
  PreviewWindow(wxWindow* parent, const wxSize& size) : wxHtmlWindow(parent, wxID_ANY, wxDefaultPosition, size) {}

  wxHtmlOpeningStatus OnOpeningURL(wxHtmlURLType, const wxString&, wxString*) const override { return wxHTML_BLOCK; }
  void OnLinkClicked(const wxHtmlLinkInfo&) override {}
};

bool SameSummary(const MessageInfo& a, const MessageInfo& b) {
  return a.id == b.id && a.summary.subject == b.summary.subject && a.summary.from == b.summary.from &&
         a.summary.date == b.summary.date;
}

}  // namespace

MailboxPanel::MailboxPanel(wxWindow* parent, MailStore& store, int32_t mailboxId)
    // Made at the size of the page it will fill, so that no part of it is ever laid out in less
    // than no room.
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, parent->GetClientSize()), store_(store), mailboxId_(mailboxId) {
  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, GetClientSize(), wxSP_LIVE_UPDATE | wxSP_3DSASH);
  list_ = new wxListCtrl(splitter_, wxID_ANY, wxDefaultPosition, wxSize(kMinimumSubjectWidth * 4, kListHeight),
                         wxLC_REPORT | wxLC_SINGLE_SEL);
  list_->AppendColumn(kSubjectColumn, wxLIST_FORMAT_LEFT, kMinimumSubjectWidth * 2);
  list_->AppendColumn(kFromColumn, wxLIST_FORMAT_LEFT, kFromWidth);
  dateWidth_ = list_->GetTextExtent(kWidestDate).x + kColumnMargin;
  list_->AppendColumn(kDateColumn, wxLIST_FORMAT_LEFT, dateWidth_);
  preview_ = new PreviewWindow(splitter_, wxSize(kMinimumSubjectWidth * 4, kListHeight));
  splitter_->SetMinimumPaneSize(60);
  splitter_->SetSashGravity(0.0);
  splitter_->SplitHorizontally(list_, preview_, kListHeight);

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(splitter_, 1, wxEXPAND);
  SetSizer(sizer);

  list_->Bind(wxEVT_LIST_ITEM_SELECTED, &MailboxPanel::OnSelected, this);
  list_->Bind(wxEVT_SIZE, &MailboxPanel::OnListSize, this);
  Reload();
}

void MailboxPanel::Reload() {
  std::vector<MessageInfo> messages;
  if (!store_.ListMessages(mailboxId_, messages).ok) messages.clear();
  FillList(messages);
  const uint32_t selected = SelectedMessage();
  if (selected == 0) {
    shownMessage_ = 0;
    shownPage_.clear();
    preview_->SetPage(wxString());
  } else {
    ShowPreview(selected);
  }
}

void MailboxPanel::FillList(const std::vector<MessageInfo>& messages) {
  const uint32_t selected = SelectedMessage();
  const bool sameRows = messages.size() == messages_.size() &&
                        std::equal(messages.begin(), messages.end(), messages_.begin(), SameSummary);
  filling_ = true;
  list_->Freeze();
  if (!sameRows) {
    list_->DeleteAllItems();
    for (size_t row = 0; row < messages.size(); ++row) {
      const MessageSummary& summary = messages[row].summary;
      const std::string subject = summary.subject.empty() ? kNoSubjectText : summary.subject;
      const long index = list_->InsertItem(static_cast<long>(row), wxString::FromUTF8(AsUtf8(subject)));
      list_->SetItem(index, kFromColumnIndex, wxString::FromUTF8(AsUtf8(summary.from)));
      list_->SetItem(index, kDateColumnIndex, wxString::FromUTF8(AsUtf8(summary.date)));
      list_->SetItemData(index, static_cast<long>(messages[row].id));
      if (messages[row].id == selected) list_->SetItemState(index, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }
  }
  wxFont normal = list_->GetFont();
  wxFont bold = normal.Bold();
  for (size_t row = 0; row < messages.size(); ++row) {
    list_->SetItemFont(static_cast<long>(row), messages[row].state == kStateUnread ? bold : normal);
  }
  list_->Thaw();
  filling_ = false;
  messages_ = messages;
}

uint32_t MailboxPanel::SelectedMessage() const {
  const long row = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  return row < 0 ? 0 : static_cast<uint32_t>(list_->GetItemData(row));
}

bool MailboxPanel::SelectRow(long row) {
  if (row < 0 || row >= list_->GetItemCount()) return false;
  list_->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  list_->EnsureVisible(row);
  return true;
}

void MailboxPanel::FocusList() {
  list_->SetFocus();
}

void MailboxPanel::OnSelected(wxListEvent& event) {
  event.Skip();
  if (filling_) return;
  const auto messageId = static_cast<uint32_t>(event.GetData());
  ShowPreview(messageId);
  int16_t state = kStateRead;
  // Reading a message marks it read; the store's change notice then redraws the row and the counts.
  if (store_.MessageState(mailboxId_, messageId, &state).ok && state == kStateUnread) {
    (void)store_.SetMessageState(mailboxId_, messageId, kStateRead);
  }
}

void MailboxPanel::ShowPreview(uint32_t messageId) {
  std::string stored;
  if (!store_.ReadMessage(mailboxId_, messageId, stored).ok) stored.clear();
  std::string page = PreviewPage(stored);
  if (messageId == shownMessage_ && page == shownPage_) return;
  shownMessage_ = messageId;
  shownPage_ = std::move(page);
  preview_->SetPage(wxString::FromUTF8(shownPage_));
}

void MailboxPanel::OnListSize(wxSizeEvent& event) {
  event.Skip();
  // The subject takes what the fixed columns leave, so nothing needs a horizontal scroll bar.
  const int width = list_->GetClientSize().x - kFromWidth - dateWidth_;
  list_->SetColumnWidth(kSubjectColumnIndex, std::max(width, kMinimumSubjectWidth));
}

}  // namespace tarnwick::host::gui
