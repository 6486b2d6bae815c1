// The article viewer's menu bar, toolbar and help commands.
#include "ui/about_box.h"
#include "ui/article_actions.h"
#include "ui/article_viewer.h"
#include "ui/article_viewer_ids.h"
#include "ui/desktop_launcher.h"
#include "ui/file_in_menu.h"

#include "platform/application_name.h"
#include "platform/message_box.h"

#include <wx/artprov.h>
#include <wx/menu.h>
#include <wx/toolbar.h>

namespace tarnwick::ui {
namespace {

wxMenu* ArticleMenu() {
  auto* menu = new wxMenu;
  menu->Append(kForwardInlineCommand, "Forward &Inline");
  menu->Append(kForwardAttachmentCommand, "Forward As &Attachment");
  menu->Append(kSaveAsCommand, "&Save As File...");
  menu->Append(kPrintCommand, "&Print...")->Enable(false);
  menu->AppendSeparator();
  menu->Append(kCloseCommand, "&Close\tAlt+F4");
  return menu;
}

// The views' hints ("[Online]") follow their names after a blank: the toolkit would read a hint
// after a tab as a shortcut key, and drop it.
wxMenu* ViewMenu() {
  auto* menu = new wxMenu;
  menu->AppendCheckItem(kFullArticleCommand, "&Full Article [Online]");
  menu->AppendCheckItem(kNewsboxArticleCommand, "&Newsbox Article [Offline]");
  menu->AppendCheckItem(kModifiedArticleCommand, "&Modified Article [RAM]")->Enable(false);
  menu->AppendSeparator();
  menu->AppendCheckItem(kSourceCommand, "&Source");
  return menu;
}

wxMenu* ToolsMenu() {
  // Editing tools the viewer offers no behaviour for: shown, never enabled.
  auto* menu = new wxMenu;
  menu->Append(kEditCommand, "&Edit")->Enable(false);
  menu->Append(kTidyCommand, "HTML &Tidy")->Enable(false);
  menu->Append(kStripHtmlCommand, "Strip &HTML")->Enable(false);
  menu->Append(kRemoveLineBreaksCommand, "&Remove Extra Line-Breaks")->Enable(false);
  return menu;
}

wxMenu* WindowMenu() {
  auto* menu = new wxMenu;
  menu->Append(kMaximizeCommand, "Ma&ximize");
  menu->Append(kRestoreCommand, "&Restore");
  menu->Append(kMinimizeCommand, "Mi&nimize");
  menu->AppendSeparator();
  menu->Append(kStretchCommand, "&Stretch");
  menu->Append(kCenterCommand, "&Center");
  return menu;
}

wxMenu* HelpMenu() {
  auto* menu = new wxMenu;
  menu->Append(kHelpTopicsCommand, "&Topics");
  menu->Append(kReleaseNotesCommand, "&Release Notes");
  menu->Append(kAboutCommand, "&About");
  return menu;
}

wxBitmap ToolImage(const wxArtID& id) {
  return wxArtProvider::GetBitmap(id, wxART_TOOLBAR, wxSize(32, 32));
}

// The mailboxes and folders of one level of the File menu; a mailbox whose id no command can carry
// is listed all the same, with an id of its own that files nothing.
void AppendMailboxItems(wxMenu& menu, const std::vector<mailbox::MailboxTreeNode>& nodes) {
  for (const mailbox::MailboxTreeNode& node : nodes) {
    const wxString name = wxString::FromUTF8(node.entry.name);
    if (node.entry.kind == mailbox::kEntryFolder) {
      auto* folder = new wxMenu;
      AppendMailboxItems(*folder, node.children);
      menu.AppendSubMenu(folder, name);
    } else {
      const int command = FileInCommandOf(node.entry.id);
      menu.Append(command == 0 ? wxID_ANY : command, name);
    }
  }
}

}  // namespace

void ArticleViewer::ReadFileInMailboxes() {
  const mailbox::MailboxListResult list = mailbox::ReadHostMailboxes(host_);
  if (!list.Read()) {
    platform::ShowMessageBox(list.errorText, platform::kApplicationName);
    return;
  }
  fileInMailboxes_ =
      FileInMenuMailboxes(list.entries, {context_.hostDataFolder, context_.inMailboxPath, context_.outMailboxPath});
}

void ArticleViewer::BuildMenuBar() {
  auto* bar = new wxMenuBar;
  viewMenu_ = ViewMenu();
  bar->Append(ArticleMenu(), "&Article");
  bar->Append(viewMenu_, "&View");
  bar->Append(BuildFileMenu(), "&File");
  bar->Append(ToolsMenu(), "&Tools");
  bar->Append(WindowMenu(), "&Window");
  bar->Append(HelpMenu(), "&Help");
  SetMenuBar(bar);
}

wxMenu* ArticleViewer::BuildFileMenu() const {
  auto* menu = new wxMenu;
  menu->Append(kFileInInCommand, "&In");
  AppendMailboxItems(*menu, fileInMailboxes_);
  return menu;
}

void ArticleViewer::BuildToolBar() {
  wxToolBar* bar = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
  bar->SetToolBitmapSize(wxSize(32, 32));
  bar->AddTool(kForwardInlineCommand, "Forward", ToolImage(wxART_GO_FORWARD), "Forward inline");
  bar->AddTool(kForwardAttachmentCommand, "Attach", ToolImage(wxART_NEW), "Forward as attachment");
  bar->AddTool(kSaveAsCommand, "Save", ToolImage(wxART_FILE_SAVE_AS), "Save as file");
  bar->AddTool(kFileInToolCommand, "File In", ToolImage(wxART_FOLDER), "File a copy into a mailbox");
  bar->AddSeparator();
  bar->AddTool(kFullArticleCommand, "Online", ToolImage(wxART_GO_HOME), "Full article (web page)");
  bar->AddTool(kNewsboxArticleCommand, "Offline", ToolImage(wxART_HARDDISK), "Newsbox article (stored)");
  bar->AddTool(kModifiedArticleCommand, "Modified", ToolImage(wxART_EDIT), "Modified article");
  bar->AddSeparator();
  bar->AddTool(kAboutCommand, "About", ToolImage(wxART_INFORMATION), "About");
  bar->EnableTool(kModifiedArticleCommand, false);
  bar->Realize();
}

void ArticleViewer::OnHelpCommand(int command) {
  if (command == kHelpTopicsCommand) {
    OpenHelpTopic(context_.helpPath, kViewerHelpTopic);
  } else if (command == kReleaseNotesCommand) {
    // The release notes lie beside the settings file, named like it with ".txt".
    std::string notes = context_.settingsPath;
    for (size_t at = notes.find(".ini"); at != std::string::npos; at = notes.find(".ini", at + 4)) {
      notes.replace(at, 4, ".txt");
    }
    OpenLocalFile(notes);
  } else if (command == kAboutCommand) {
    ShowAboutBox(this, context_.productName, context_.versionText);
  }
}

}  // namespace tarnwick::ui
