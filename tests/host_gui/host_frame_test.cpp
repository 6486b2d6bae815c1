// The frame as a user meets it: the mailbox tree of the data folder, and a mailbox opened from it.
#include "gui/gui_texts.h"
#include "gui/mailbox_panel.h"
#include "gui/mailbox_tree_view.h"
#include "gui_support/gui_test_support.h"
#include "host_gui_fixture.h"

#include <wx/html/htmlwin.h>
#include <wx/listctrl.h>
#include <wx/notebook.h>

namespace tarnwick::host::gui::test {
namespace {

using tarnwick::test::RunEventsUntil;
using tarnwick::test::SaveScreenshot;

std::vector<std::string> ChildLabels(MailboxTreeView& tree, const wxTreeItemId& parent) {
  std::vector<std::string> labels;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
    labels.push_back(tree.GetItemText(item).utf8_string());
  }
  return labels;
}

std::string Cell(wxListCtrl* list, long row, int column) {
  return list->GetItemText(row, column).utf8_string();
}

bool IsBold(wxListCtrl* list, long row) {
  return list->GetItemFont(row).GetWeight() == wxFONTWEIGHT_BOLD;
}

TEST_F(HostGuiTest, TheTreeListsTheDataFolderInOrderWithUnreadAndTotalCounts) {
  EXPECT_EQ(Frame().GetTitle().utf8_string(), "tarnwick-host - " + Core().Store().DataFolder());
  MailboxTreeView& tree = *Frame().Tree();
  EXPECT_EQ(ChildLabels(tree, tree.GetRootItem()),
            (std::vector<std::string>{"In (0/0)", "Out (0/0)", "Trash (0/0)", "Archive (0/0)", "News"}));
  const wxTreeItemId news = tree.ItemOf(MailboxId("News"));
  EXPECT_EQ(ChildLabels(tree, news), (std::vector<std::string>{"Tech (1/2)", "World (1/1)"}));
  EXPECT_TRUE(tree.IsExpanded(news)) << "folders start open";
  EXPECT_TRUE(tree.IsBold(tree.ItemOf(MailboxId("Tech")))) << "a mailbox with unread messages stands out";
  EXPECT_FALSE(tree.IsBold(tree.ItemOf(MailboxId("In"))));
}

TEST_F(HostGuiTest, OpeningAMailboxListsItsMessagesAndThePreviewShowsTheOneClicked) {
  const int32_t tech = MailboxId("Tech");
  DoubleClickTreeItem(tech);
  ASSERT_TRUE(RunEventsUntil([&] { return Frame().PanelOf(tech) != nullptr; })) << "double click opens the mailbox";
  EXPECT_EQ(Frame().MailboxWindows()->GetPageText(0).utf8_string(), "Tech");
  ASSERT_EQ(Core().Windows()->MailboxWindows().size(), 1u);
  EXPECT_EQ(Core().Windows()->MailboxWindows()[0].title, "Tech");

  wxListCtrl* list = Frame().PanelOf(tech)->List();
  ASSERT_EQ(list->GetItemCount(), 2);
  EXPECT_EQ(Cell(list, 0, 0), "Compiler released");
  EXPECT_EQ(Cell(list, 0, 1), "Tech Desk <tech@example.org>");
  EXPECT_FALSE(Cell(list, 0, 2).empty());
  EXPECT_EQ(Cell(list, 1, 0), "Kernel news");
  EXPECT_TRUE(IsBold(list, 0)) << "unread";
  EXPECT_FALSE(IsBold(list, 1)) << "read";

  ClickMessageRow(0);
  wxHtmlWindow* preview = Frame().PanelOf(tech)->Preview();
  ASSERT_TRUE(RunEventsUntil([&] { return preview->ToText().Contains("A new compiler."); })) << preview->ToText();
  EXPECT_TRUE(preview->ToText().Contains("Compiler released"));
  EXPECT_TRUE(preview->ToText().Contains("Tech Desk"));

  // Reading it marked it read: the row and the tree's counts follow.
  ASSERT_TRUE(RunEventsUntil([&] { return TreeLabel(tech) == "Tech (0/2)"; })) << TreeLabel(tech);
  EXPECT_FALSE(IsBold(list, 0));
  EXPECT_EQ(Frame().PanelOf(tech)->SelectedMessage(), list->GetItemData(0)) << "the selection stays";

  EXPECT_FALSE(SaveScreenshot(&Frame(), "host_frame").empty());
}

TEST_F(HostGuiTest, CloseMailboxClosesTheTopmostWindow) {
  const int32_t tech = MailboxId("Tech");
  const int32_t world = MailboxId("World");
  Core().Windows()->OpenMailboxWindow(world, "World");
  Core().Windows()->OpenMailboxWindow(tech, "Tech");
  ASSERT_TRUE(RunEventsUntil([&] { return Frame().MailboxWindows()->GetPageCount() == 2; }));
  ChooseMenuItem("File", "Close Mailbox");
  ASSERT_TRUE(RunEventsUntil([&] { return Frame().MailboxWindows()->GetPageCount() == 1; }));
  EXPECT_EQ(Frame().PanelOf(tech), nullptr);
  EXPECT_NE(Frame().PanelOf(world), nullptr);
  ASSERT_EQ(Core().Windows()->MailboxWindows().size(), 1u);
  EXPECT_EQ(Core().Windows()->MailboxWindows()[0].mailboxId, world);
}

}  // namespace
}  // namespace tarnwick::host::gui::test
