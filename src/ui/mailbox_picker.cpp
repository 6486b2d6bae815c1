#include "ui/mailbox_picker.h"

#include "automation/host_automation.h"
#include "mailbox/host_mailbox_maker.h"
#include "platform/application_name.h"
#include "platform/message_box.h"
#include "ui/feed_properties_texts.h"
#include "ui/help_key.h"
#include "ui/mailbox_picker_texts.h"
#include "ui/resources.h"

#include <wx/button.h>
#include <wx/imaglist.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textdlg.h>

namespace tarnwick::ui {
namespace {

constexpr int kImageSize = 16;
constexpr int kRootIcon = 192;
constexpr int kMailboxIcon = 193;
constexpr int kClosedFolderIcon = 195;
constexpr int kOpenFolderIcon = 194;
constexpr int kProgramCursor = 301;

class EntryData : public wxTreeItemData {
public:
  explicit EntryData(mailbox::MailboxEntry entry) : entry(std::move(entry)) {}
  mailbox::MailboxEntry entry;
};

// An icon of the module, or an empty picture of the same size while the module carries none.
wxBitmap ImageOrBlank(int number) {
  wxBitmap bitmap = ResourceBitmap(number);
  if (bitmap.IsOk() && bitmap.GetWidth() == kImageSize && bitmap.GetHeight() == kImageSize) return bitmap;
  wxImage blank(kImageSize, kImageSize);
  blank.InitAlpha();
  for (int x = 0; x < kImageSize; ++x) {
    for (int y = 0; y < kImageSize; ++y) blank.SetAlpha(x, y, 0);
  }
  return bitmap.IsOk() ? wxBitmap(bitmap.ConvertToImage().Rescale(kImageSize, kImageSize)) : wxBitmap(blank);
}

}  // namespace

MailboxPicker::MailboxPicker(wxWindow* parent, const std::string& dataFolder, const std::string& newsboxPath,
                             const std::string& helpPath)
    : wxDialog(parent, wxID_ANY, kMailboxPickerTitle, wxDefaultPosition, wxDefaultSize, wxCAPTION) {
  auto* prompt = new wxStaticText(this, wxID_ANY, kMailboxPickerPrompt);
  tree_ = new wxTreeCtrl(this, kMailboxTreeId, wxDefaultPosition, FromDIP(wxSize(280, 320)),
                         wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxBORDER_THEME);
  auto* images = new wxImageList(kImageSize, kImageSize, true, 5);
  for (int number : {kRootIcon, kMailboxIcon, kClosedFolderIcon, kOpenFolderIcon}) images->Add(ImageOrBlank(number));
  tree_->AssignImageList(images);

  auto* newNewsbox = new wxButton(this, kNewNewsboxButtonId, kNewNewsboxButtonText);

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(prompt, wxSizerFlags().Border(wxLEFT | wxRIGHT | wxTOP, FromDIP(12)));
  top->Add(tree_, wxSizerFlags(1).Expand().Border(wxALL, FromDIP(12)));
  top->Add(newNewsbox, wxSizerFlags().Right().Border(wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(12)));
  SetSizerAndFit(top);
  CentreOnParent();
  SetCursor(ResourceCursor(kProgramCursor));
  SetEscapeId(wxID_NONE);  // Escape is handled below, so the close box's absence cannot swallow it

  tree_->Bind(wxEVT_TREE_ITEM_EXPANDED, [this](wxTreeEvent& event) { OnFolderToggled(event, true); });
  tree_->Bind(wxEVT_TREE_ITEM_COLLAPSED, [this](wxTreeEvent& event) { OnFolderToggled(event, false); });

  const mailbox::MailboxListResult list = mailbox::ReadHostMailboxes(automation::HostAutomation());
  if (!list.Read()) platform::ShowMessageBox(list.errorText, platform::kApplicationName);
  const mailbox::MailboxTreeNode root = mailbox::MailboxTreeRoot(list.entries, dataFolder);
  const wxTreeItemId rootItem =
      tree_->AddRoot(wxString::FromUTF8(root.entry.name), kRootImage, kRootImage, new EntryData(root.entry));
  std::map<const mailbox::MailboxTreeNode*, wxTreeItemId> items;
  AddChildren(rootItem, root, items);
  tree_->Expand(rootItem);
  Preselect(root, newsboxPath, items);

  tree_->Bind(wxEVT_TREE_ITEM_ACTIVATED, &MailboxPicker::OnActivated, this);
  newNewsbox->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnNewNewsbox(); });
  Bind(wxEVT_CHAR_HOOK, &MailboxPicker::OnKey, this);
  OpenHelpOnF1(*this, helpPath, kSettingsHelpTopic);
  Bind(wxEVT_CLOSE_WINDOW, [](wxCloseEvent& event) {
    if (event.CanVeto()) event.Veto();  // no close box: Escape or a choice ends the dialog
  });
  tree_->SetFocus();
}

const mailbox::MailboxEntry* MailboxPicker::EntryOf(const wxTreeItemId& item) const {
  if (!item.IsOk()) return nullptr;
  auto* data = dynamic_cast<EntryData*>(tree_->GetItemData(item));
  return data != nullptr ? &data->entry : nullptr;
}

void MailboxPicker::AddChildren(const wxTreeItemId& parent, const mailbox::MailboxTreeNode& node,
                                std::map<const mailbox::MailboxTreeNode*, wxTreeItemId>& items) {
  for (const mailbox::MailboxTreeNode& child : node.children) {
    const int image = child.entry.kind == mailbox::kEntryFolder ? kClosedFolderImage : kMailboxImage;
    const wxTreeItemId item =
        tree_->AppendItem(parent, wxString::FromUTF8(child.entry.name), image, image, new EntryData(child.entry));
    items[&child] = item;
    AddChildren(item, child, items);
  }
}

void MailboxPicker::Preselect(const mailbox::MailboxTreeNode& root, const std::string& newsboxPath,
                              const std::map<const mailbox::MailboxTreeNode*, wxTreeItemId>& items) {
  const mailbox::MailboxPreselection preselection = mailbox::PreselectMailbox(root, newsboxPath);
  for (const mailbox::MailboxTreeNode* node : preselection.expanded) {
    tree_->Expand(items.at(node));  // shows a folder open, as the user's expanding does
  }
  if (preselection.selected != nullptr) {
    tree_->SelectItem(items.at(preselection.selected));
    tree_->EnsureVisible(items.at(preselection.selected));
  }
}

void MailboxPicker::OnFolderToggled(wxTreeEvent& event, bool expanded) {
  const mailbox::MailboxEntry* entry = EntryOf(event.GetItem());
  if (entry == nullptr || entry->kind != mailbox::kEntryFolder) return;
  const int image = expanded ? kOpenFolderImage : kClosedFolderImage;
  tree_->SetItemImage(event.GetItem(), image);
  tree_->SetItemImage(event.GetItem(), image, wxTreeItemIcon_Selected);
}

void MailboxPicker::OnActivated(wxTreeEvent& event) {
  const mailbox::MailboxEntry* entry = EntryOf(event.GetItem());
  if (entry == nullptr || entry->kind != mailbox::kEntryMailbox) {
    // The same for a double click and for Enter: a folder (or the root) only opens or closes.
    if (event.GetItem().IsOk() && tree_->ItemHasChildren(event.GetItem())) tree_->Toggle(event.GetItem());
    return;
  }
  chosenPath_ = entry->path;
  chosenName_ = entry->name;
  EndModal(1);
}

const mailbox::MailboxEntry* MailboxPicker::FolderForNewNewsbox() const {
  // A selected mailbox stands for the folder it lies in.
  wxTreeItemId item = tree_->GetSelection();
  const mailbox::MailboxEntry* entry = EntryOf(item);
  if (entry != nullptr && entry->kind == mailbox::kEntryMailbox) entry = EntryOf(tree_->GetItemParent(item));
  return entry != nullptr && entry->kind == mailbox::kEntryFolder ? entry : nullptr;
}

void MailboxPicker::OnNewNewsbox() {
  const mailbox::MailboxEntry* folder = FolderForNewNewsbox();
  const wxString prompt = folder == nullptr
                              ? wxString(kNewNewsboxPromptAtTop)
                              : wxString::Format(kNewNewsboxPromptInFolder, wxString::FromUTF8(folder->name));
  wxTextEntryDialog ask(this, prompt, kNewNewsboxTitle);
  if (ask.ShowModal() != wxID_OK) return;
  const mailbox::MadeMailbox made = mailbox::MakeHostMailbox(
      automation::HostAutomation(), folder == nullptr ? 0 : folder->id, ask.GetValue().utf8_string());
  if (!made.Made()) {
    platform::ShowMessageBox(made.errorText, platform::kApplicationName);
    return;
  }
  chosenPath_ = made.path;
  chosenName_ = made.name;
  EndModal(1);
}

void MailboxPicker::OnKey(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    EndModal(wxID_CANCEL);
    return;
  }
  event.Skip();
}

int ShowMailboxPicker(wxWindow* parent, const std::string& dataFolder, std::string& path, std::string& name,
                      const std::string& helpPath) {
  MailboxPicker picker(parent, dataFolder, path, helpPath);
  const int result = picker.ShowModal();
  if (result == 1) {
    path = picker.ChosenPath();
    name = picker.ChosenName();
  }
  return result;
}

}  // namespace tarnwick::ui
