// The mailbox picker on the screen, over a real host's mailboxes.
#include "ui/mailbox_picker.h"

#include "dialog_driver.h"
#include "host_fixture.h"

#include <filesystem>

namespace tarnwick::ui {
namespace {

using test::WhenShown;

std::vector<std::string> ChildTexts(wxTreeCtrl& tree, const wxTreeItemId& parent) {
  std::vector<std::string> texts;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
    texts.push_back(tree.GetItemText(item).utf8_string());
  }
  return texts;
}

wxTreeItemId ChildNamed(wxTreeCtrl& tree, const wxTreeItemId& parent, const std::string& text) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
    if (tree.GetItemText(item).utf8_string() == text) return item;
  }
  return {};
}

void DoubleClickItem(wxTreeCtrl& tree, const wxTreeItemId& item) {
  wxRect rect;
  ASSERT_TRUE(tree.GetBoundingRect(item, rect, true));
  test::ClickAt(&tree, rect.GetPosition() + wxSize(rect.width / 2, rect.height / 2), true);
}

class MailboxPickerTest : public test::HostFixture {
protected:
  void SetUp() override {
    HostFixture::SetUp();
    const int32_t news = Create(0, "News", false);
    Create(news, "World", true);
    Create(news, "Tech", true);
    const int32_t feeds = Create(0, "Feeds", false);
    const int32_t science = Create(feeds, "Science", false);
    const int32_t space = Create(science, "Space", false);
    Create(space, "Moon", true);
  }
};

TEST_F(MailboxPickerTest, ShowsTheSortedTreeOpenOnTheNewsboxAndChoosesAMailboxByDoubleClick) {
  std::string path = data_.File("Feeds.fol/Science.fol/Space.fol/Moon.mbx");
  std::string name = "Moon";
  std::vector<std::string> top, news, open;
  std::string selected;
  int newsClosedImage = -1, newsOpenImage = -1, spaceImage = -1;
  bool stillOpenAfterFolder = false;
  WhenShown<MailboxPicker>([&](MailboxPicker& picker) {
    wxTreeCtrl& tree = picker.Tree();
    const wxTreeItemId root = tree.GetRootItem();
    top = ChildTexts(tree, root);
    const wxTreeItemId newsItem = ChildNamed(tree, root, "News");
    news = ChildTexts(tree, newsItem);
    selected = tree.GetItemText(tree.GetSelection()).utf8_string();
    for (const char* folder : {"Feeds", "News"}) {
      if (tree.IsExpanded(ChildNamed(tree, root, folder))) open.push_back(folder);
    }
    const wxTreeItemId feeds = ChildNamed(tree, root, "Feeds");
    spaceImage = tree.GetItemImage(ChildNamed(tree, ChildNamed(tree, feeds, "Science"), "Space"));
    newsClosedImage = tree.GetItemImage(newsItem);
    test::SaveScreenshot(&picker, "mailbox_picker");

    DoubleClickItem(tree, newsItem);  // a folder only opens
    stillOpenAfterFolder = picker.IsModal() && tree.IsExpanded(newsItem);
    newsOpenImage = tree.GetItemImage(newsItem);
    DoubleClickItem(tree, ChildNamed(tree, newsItem, "Tech"));
  });
  EXPECT_EQ(ShowMailboxPicker(nullptr, data_.Path(), path, name), 1);
  EXPECT_EQ(top, (std::vector<std::string>{"Feeds", "In", "News", "Out", "Trash"}));
  EXPECT_EQ(news, (std::vector<std::string>{"Tech", "World"}));
  EXPECT_EQ(selected, "Moon");
  EXPECT_EQ(open, (std::vector<std::string>{"Feeds"}));
  EXPECT_EQ(spaceImage, kOpenFolderImage);
  EXPECT_EQ(newsClosedImage, kClosedFolderImage);
  EXPECT_TRUE(stillOpenAfterFolder);
  EXPECT_EQ(newsOpenImage, kOpenFolderImage);
  EXPECT_EQ(path, data_.File("News.fol/Tech.mbx"));
  EXPECT_EQ(name, "Tech");
  EXPECT_TRUE(messageBoxes_.empty());
}

TEST_F(MailboxPickerTest, EnterChoosesAMailboxButOnlyClosesAFolder) {
  std::string path, name;
  int folderImageAfterEnter = -1;
  bool stillOpenAfterFolder = false;
  WhenShown<MailboxPicker>([&](MailboxPicker& picker) {
    wxTreeCtrl& tree = picker.Tree();
    const wxTreeItemId newsItem = ChildNamed(tree, tree.GetRootItem(), "News");
    tree.Expand(newsItem);
    tree.SelectItem(newsItem);
    tree.SetFocus();
    test::PressKey(WXK_RETURN);
    stillOpenAfterFolder = picker.IsModal();
    folderImageAfterEnter = tree.GetItemImage(newsItem);
    tree.SelectItem(ChildNamed(tree, tree.GetRootItem(), "In"));
    test::PressKey(WXK_RETURN);
  });
  EXPECT_EQ(ShowMailboxPicker(nullptr, data_.Path(), path, name), 1);
  EXPECT_TRUE(stillOpenAfterFolder);
  EXPECT_EQ(folderImageAfterEnter, kClosedFolderImage);
  EXPECT_EQ(path, data_.File("In.mbx"));
  EXPECT_EQ(name, "In");
}

TEST_F(MailboxPickerTest, EscapeCancelsAndKeepsTheCallersNewsbox) {
  std::string path = "/nowhere/Gone.mbx", name = "Gone";
  bool nothingSelected = false;
  WhenShown<MailboxPicker>([&](MailboxPicker& picker) {
    nothingSelected =
        !picker.Tree().GetSelection().IsOk() || picker.Tree().GetSelection() == picker.Tree().GetRootItem();
    test::PressKey(WXK_ESCAPE);
  });
  EXPECT_NE(ShowMailboxPicker(nullptr, data_.Path(), path, name), 1);
  EXPECT_TRUE(nothingSelected) << "a newsbox that does not exist preselects nothing";
  EXPECT_EQ(path, "/nowhere/Gone.mbx");
  EXPECT_EQ(name, "Gone");
}

class MailboxPickerWithoutAutomationTest : public test::HostFixture {
protected:
  void SetUp() override {
    options_.automationAllowed = false;
    HostFixture::SetUp();
  }
};

TEST_F(MailboxPickerWithoutAutomationTest, ShowsOneMessageBoxAndTheRootAlone) {
  std::string path, name;
  std::string rootText;
  size_t children = 99;
  WhenShown<MailboxPicker>([&](MailboxPicker& picker) {
    rootText = picker.Tree().GetItemText(picker.Tree().GetRootItem()).utf8_string();
    children = picker.Tree().GetChildrenCount(picker.Tree().GetRootItem());
    test::SaveScreenshot(&picker, "mailbox_picker_without_automation");
    test::PressKey(WXK_ESCAPE);
  });
  EXPECT_NE(ShowMailboxPicker(nullptr, data_.Path(), path, name), 1);
  ASSERT_EQ(messageBoxes_.size(), 1u);
  EXPECT_NE(messageBoxes_[0].find("automation"), std::string::npos) << messageBoxes_[0];
  EXPECT_EQ(rootText, std::filesystem::path(data_.Path()).filename().string());
  EXPECT_EQ(children, 0u);
}

}  // namespace
}  // namespace tarnwick::ui
