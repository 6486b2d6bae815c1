#include "gui/mailbox_tree_view.h"

#include "gui/gui_texts.h"

#include <wx/artprov.h>
#include <wx/imaglist.h>

#include <set>

namespace tarnwick::host::gui {
namespace {

enum TreeImage { kFolderImage, kOpenFolderImage, kMailboxImage };

class IdData : public wxTreeItemData {
public:
  explicit IdData(int32_t id) : id_(id) {}
  int32_t Id() const { return id_; }

private:
  int32_t id_;
};

wxImageList* TreeImages() {
  const wxSize size(16, 16);
  auto* images = new wxImageList(size.x, size.y, true);
  images->Add(wxArtProvider::GetBitmap(wxART_FOLDER, wxART_OTHER, size));
  images->Add(wxArtProvider::GetBitmap(wxART_FOLDER_OPEN, wxART_OTHER, size));
  images->Add(wxArtProvider::GetBitmap(wxART_NORMAL_FILE, wxART_OTHER, size));
  return images;
}

}  // namespace

MailboxTreeView::MailboxTreeView(wxWindow* parent, MailStore& store)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_HIDE_ROOT | wxTR_SINGLE | wxTR_NO_LINES | wxTR_FULL_ROW_HIGHLIGHT),
      store_(store) {
  AssignImageList(TreeImages());
  AddRoot(wxString());
}

void MailboxTreeView::Rebuild() {
  std::set<int32_t> wasOpen;
  std::set<int32_t> known;
  for (const auto& [id, item] : items_) {
    known.insert(id);
    if (!isMailbox_[id] && IsExpanded(item)) wasOpen.insert(id);
  }
  const int32_t selected = IdOf(GetSelection());

  Freeze();
  DeleteChildren(GetRootItem());
  items_.clear();
  isMailbox_.clear();
  names_.clear();
  for (const MailboxInfo& info : store_.AllInTreeOrder()) {
    auto parent = info.parentId == 0 ? items_.end() : items_.find(info.parentId);
    const wxTreeItemId parentItem = parent != items_.end() ? parent->second : GetRootItem();
    const int image = info.isMailbox ? kMailboxImage : kFolderImage;
    const wxTreeItemId item = AppendItem(parentItem, wxString::FromUTF8(info.name), image, image, new IdData(info.id));
    if (!info.isMailbox) SetItemImage(item, kOpenFolderImage, wxTreeItemIcon_Expanded);
    items_[info.id] = item;
    isMailbox_[info.id] = info.isMailbox;
    names_[info.id] = info.name;
  }
  UpdateCounts();
  for (const auto& [id, item] : items_) {
    if (!isMailbox_[id] && (wasOpen.count(id) != 0 || known.count(id) == 0) && HasChildren(item)) Expand(item);
  }
  if (wxTreeItemId item = ItemOf(selected); item.IsOk()) SelectItem(item);
  Thaw();
}

void MailboxTreeView::UpdateCounts() {
  for (const auto& [id, item] : items_) UpdateLabel(id, item);
}

void MailboxTreeView::UpdateLabel(int32_t id, const wxTreeItemId& item) {
  std::string label = names_[id];
  size_t total = 0;
  size_t unread = 0;
  if (isMailbox_[id] && store_.Counts(id, &total, &unread).ok) label = MailboxTreeLabel(label, unread, total);
  const wxString text = wxString::FromUTF8(label);
  if (GetItemText(item) != text) SetItemText(item, text);
  SetItemBold(item, isMailbox_[id] && unread > 0);
}

int32_t MailboxTreeView::IdOf(const wxTreeItemId& item) const {
  if (!item.IsOk()) return 0;
  auto* data = dynamic_cast<IdData*>(GetItemData(item));
  return data != nullptr ? data->Id() : 0;
}

wxTreeItemId MailboxTreeView::ItemOf(int32_t id) const {
  auto found = items_.find(id);
  return found != items_.end() ? found->second : wxTreeItemId();
}

}  // namespace tarnwick::host::gui
