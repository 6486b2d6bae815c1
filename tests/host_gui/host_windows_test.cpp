// What a plug-in reaches of the host's windows (the automation server and the host-window
// interface) acts on the real windows, and the windows follow what the plug-in does to mailboxes.
#include "gui/mailbox_panel.h"
#include "gui/mailbox_tree_view.h"
#include "gui_support/gui_test_support.h"
#include "host_gui_fixture.h"
#include "platform/dispatch_ids.h"
#include "platform/host_connect.h"
#include "screen_probe.h"

#include <wx/listctrl.h>
#include <wx/notebook.h>
#include <wx/panel.h>

namespace tarnwick::host::gui::test {
namespace {

using platform::DispatchArguments;
using platform::DispatchPointer;
using tarnwick::test::RunEventsUntil;

// The automation server as a plug-in reaches it.
DispatchPointer Application() {
  platform::AutomationConnectResult connection = platform::ConnectAutomationServer(platform::kMailAutomationProgId);
  EXPECT_TRUE(connection.application) << connection.errorText;
  return connection.application;
}

DispatchPointer Folder(const DispatchPointer& application, const std::string& name) {
  platform::DispatchResult folder = application->Call(platform::kApplicationFolderByName, {name, 1});
  EXPECT_TRUE(folder.ok && folder.value.IsObject()) << name << ": " << folder.errorText;
  return folder.value.Object();
}

void OpenThroughAutomation(const DispatchPointer& application, const std::string& name) {
  platform::DispatchResult opened = Folder(application, name)->Call(platform::kFolderOpen, {});
  EXPECT_TRUE(opened.ok) << opened.errorText;
}

// Moves the first message of one mailbox into another, as a plug-in delivers an article.
void MoveFirstMessage(const DispatchPointer& application, const std::string& from, const std::string& to) {
  DispatchPointer messages = Folder(application, from)->Get(platform::kFolderMessages, {}).value.Object();
  ASSERT_TRUE(messages);
  DispatchPointer message = messages->Get(platform::kCollectionItem, {1}).value.Object();
  ASSERT_TRUE(message);
  platform::DispatchResult moved = message->Call(platform::kMessageMove, {Folder(application, to)});
  ASSERT_TRUE(moved.ok) << moved.errorText;
}

std::vector<std::string> TabTitles(wxNotebook* notebook) {
  std::vector<std::string> titles;
  for (size_t page = 0; page < notebook->GetPageCount(); ++page)
    titles.push_back(notebook->GetPageText(page).utf8_string());
  return titles;
}

// A point on the tab of a page, found by asking the notebook what lies where.
wxPoint TabPoint(wxNotebook* notebook, int page) {
  for (int y = 4; y < 40; y += 4) {
    for (int x = 4; x < notebook->GetClientSize().x; x += 4) {
      if (notebook->HitTest(wxPoint(x, y)) == page) return wxPoint(x, y);
    }
  }
  ADD_FAILURE() << "no tab for page " << page;
  return wxPoint(0, 0);
}

TEST_F(HostGuiTest, MailboxWindowsOpenedThroughAutomationAreRealWindowsThatTheWindowInterfaceDrives) {
  DispatchPointer application = Application();
  ASSERT_TRUE(application);
  OpenThroughAutomation(application, "World");
  OpenThroughAutomation(application, "Tech");
  wxNotebook* notebook = Frame().MailboxWindows();
  ASSERT_TRUE(RunEventsUntil([&] { return notebook->GetPageCount() == 2; }));
  EXPECT_EQ(TabTitles(notebook), (std::vector<std::string>{"World", "Tech"}));
  EXPECT_EQ(Frame().TopmostPanel(), Frame().PanelOf(MailboxId("Tech"))) << "the last opened is on top";

  platform::HostWindowsConnectResult connection = platform::ConnectHostWindows();
  ASSERT_TRUE(connection.windows) << connection.errorText;
  platform::HostWindows& windows = *connection.windows;
  EXPECT_EQ(windows.MailboxWindowTitles(), (std::vector<std::string>{"Tech", "World"}));

  // The user brings World to the top by its tab: what the plug-in sees follows.
  ClickAt(notebook, TabPoint(notebook, 0));
  ASSERT_TRUE(RunEventsUntil([&] { return windows.MailboxWindowTitles().front() == "World"; }));
  EXPECT_EQ(windows.MailboxWindowTitles(), (std::vector<std::string>{"World", "Tech"}));

  EXPECT_TRUE(windows.CloseMailboxWindow("World"));
  ASSERT_TRUE(RunEventsUntil([&] { return notebook->GetPageCount() == 1; })) << "the real window closes";
  EXPECT_EQ(TabTitles(notebook), (std::vector<std::string>{"Tech"}));
  EXPECT_EQ(Frame().PanelOf(MailboxId("World")), nullptr);
  EXPECT_FALSE(windows.CloseMailboxWindow("World"));

  EXPECT_TRUE(windows.SetStatusText("Tarnwick. For Help, press F1."));
  ASSERT_TRUE(RunEventsUntil([&] { return StatusBarText() == "Tarnwick. For Help, press F1."; })) << StatusBarText();
}

TEST_F(HostGuiTest, BringingTheMainWindowForwardRaisesTheFrameAboveAnotherWindow) {
  Core().Windows()->OpenMailboxWindow(MailboxId("Tech"), "Tech");
  ASSERT_TRUE(RunEventsUntil([&] { return Frame().TopmostPanel() != nullptr; }));
  Frame().Tree()->SetFocus();
  ASSERT_TRUE(RunEventsUntil([&] { return wxWindow::FindFocus() == Frame().Tree(); }));
  const wxPoint probe = Frame().GetScreenRect().GetPosition() + wxPoint(120, 200);
  auto* cover = new wxFrame(nullptr, wxID_ANY, "Cover", Frame().GetScreenRect().GetPosition(), Frame().GetSize());
  (new wxPanel(cover))->SetBackgroundColour(*wxRED);
  cover->Show();
  cover->Raise();
  ASSERT_TRUE(RunEventsUntil([&] { return ScreenPixel(probe) == *wxRED; })) << "the cover lies over the frame";

  platform::HostWindowsConnectResult connection = platform::ConnectHostWindows();
  ASSERT_TRUE(connection.windows);
  EXPECT_TRUE(connection.windows->BringMainWindowForward());
  EXPECT_TRUE(RunEventsUntil([&] { return ScreenPixel(probe) != *wxRED; })) << "the frame is on top again";
  wxWindow* list = Frame().TopmostPanel()->List();
  EXPECT_TRUE(RunEventsUntil([&] {
    wxWindow* focus = wxWindow::FindFocus();
    return focus != nullptr && (focus == list || focus->GetParent() == list);
  })) << "the topmost mailbox window has the focus";

  cover->Destroy();
}

TEST_F(HostGuiTest, MessagesAPlugInMovesIntoAnOpenMailboxAppearWithTheTreeCounts) {
  const int32_t tech = MailboxId("Tech");
  const int32_t world = MailboxId("World");
  DispatchPointer application = Application();
  ASSERT_TRUE(application);
  OpenThroughAutomation(application, "Tech");
  ASSERT_TRUE(RunEventsUntil([&] { return Frame().PanelOf(tech) != nullptr; }));
  wxListCtrl* list = Frame().PanelOf(tech)->List();
  ASSERT_EQ(list->GetItemCount(), 2);

  MoveFirstMessage(application, "World", "Tech");
  ASSERT_TRUE(RunEventsUntil([&] { return list->GetItemCount() == 3; })) << "the open mailbox window refreshes";
  EXPECT_EQ(list->GetItemText(2).utf8_string(), "Elections held");
  EXPECT_EQ(list->GetItemFont(2).GetWeight(), wxFONTWEIGHT_BOLD) << "it arrives unread";
  ASSERT_TRUE(RunEventsUntil([&] { return TreeLabel(tech) == "Tech (2/3)"; })) << TreeLabel(tech);
  EXPECT_EQ(TreeLabel(world), "World (0/0)");

  // A mailbox a plug-in creates shows in the tree.
  platform::DispatchResult folders = application->Get(platform::kApplicationFolders, {});
  ASSERT_TRUE(folders.ok);
  ASSERT_TRUE(folders.value.Object()->Call(platform::kCollectionAdd, {"Pending", 1}).ok);
  ASSERT_TRUE(RunEventsUntil([&] { return TreeLabel(Core().Store().FindMailbox("Pending")) == "Pending (0/0)"; }));
}

}  // namespace
}  // namespace tarnwick::host::gui::test
