// The mailbox picker on the screen, over a real host's mailboxes.
#include "ui/mailbox_picker.h"

#include "dialog_driver.h"
#include "host_fixture.h"
#include "ui/desktop_launcher.h"
#include "ui/feed_properties_texts.h"

#include <wx/button.h>
#include <wx/textdlg.h>

#include <filesystem>

namespace tarnwick::ui {
namespace {

using test::ChildNamed;
using test::DoubleClickItem;
using test::WhenShown;

std::vector<std::string> ChildTexts(wxTreeCtrl& tree, const wxTreeItemId& parent) {
  std::vector<std::string> texts;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
    texts.push_back(tree.GetItemText(item).utf8_string());
  }
  return texts;
}

class MailboxPickerTest : public test::HostFixture {
protected:
  void SetUp() override {
    HostFixture::SetUp();
    CreateNews();
    const int32_t science = Create(Create(0, "Feeds", false), "Science", false);
    Create(Create(science, "Space", false), "Moon", true);
  }
};

TEST_F(MailboxPickerTest, ShowsTheSortedTreeOpenOnTheNewsboxAndChoosesOnlyMailboxes) {
  std::string path = data_.File("Feeds.fol/Science.fol/Space.fol/Moon.mbx"), name = "Moon";
  std::vector<std::string> top, news;
  std::string selected;
  bool feedsOpen = false, newsOpen = true, openAfterFolderDoubleClick = false, openAfterEnterOnFolder = false;
  int spaceImage = -1, newsImage = -1, newsImageAfterDoubleClick = -1, newsImageAfterEnter = -1;
  WhenShown<MailboxPicker>([&](MailboxPicker& picker) {
    wxTreeCtrl& tree = picker.Tree();
    const wxTreeItemId root = tree.GetRootItem();
    const wxTreeItemId newsItem = ChildNamed(tree, root, "News");
    const wxTreeItemId feeds = ChildNamed(tree, root, "Feeds");
    top = ChildTexts(tree, root);
    news = ChildTexts(tree, newsItem);
    selected = tree.GetItemText(tree.GetSelection()).utf8_string();
    feedsOpen = tree.IsExpanded(feeds);
    newsOpen = tree.IsExpanded(newsItem);
    spaceImage = tree.GetItemImage(ChildNamed(tree, ChildNamed(tree, feeds, "Science"), "Space"));
    newsImage = tree.GetItemImage(newsItem);
    test::SaveScreenshot(&picker, "mailbox_picker");

    DoubleClickItem(tree, newsItem);  // a folder only opens
    openAfterFolderDoubleClick = picker.IsModal() && tree.IsExpanded(newsItem);
    newsImageAfterDoubleClick = tree.GetItemImage(newsItem);
    tree.SelectItem(newsItem);
    test::PressKey(WXK_RETURN);  // and closes again
    openAfterEnterOnFolder = picker.IsModal();
    newsImageAfterEnter = tree.GetItemImage(newsItem);
    tree.Expand(newsItem);
    DoubleClickItem(tree, ChildNamed(tree, newsItem, "Tech"));
  });
  EXPECT_EQ(ShowMailboxPicker(nullptr, data_.Path(), path, name), 1);
  EXPECT_EQ(top, (std::vector<std::string>{"Feeds", "In", "News", "Out", "Trash"}));
  EXPECT_EQ(news, (std::vector<std::string>{"Tech", "World"}));
  EXPECT_EQ(selected, "Moon");
  EXPECT_TRUE(feedsOpen);
  EXPECT_FALSE(newsOpen);
  EXPECT_EQ(spaceImage, kOpenFolderImage);
  EXPECT_EQ(newsImage, kClosedFolderImage);
  EXPECT_TRUE(openAfterFolderDoubleClick);
  EXPECT_EQ(newsImageAfterDoubleClick, kOpenFolderImage);
  EXPECT_TRUE(openAfterEnterOnFolder);
  EXPECT_EQ(newsImageAfterEnter, kClosedFolderImage);
  EXPECT_EQ(path, data_.File("News.fol/Tech.mbx"));
  EXPECT_EQ(name, "Tech");
  EXPECT_TRUE(messageBoxes_.empty());
}

TEST_F(MailboxPickerTest, EnterOnAMailboxChoosesIt) {
  std::string path, name;
  WhenShown<MailboxPicker>([&](MailboxPicker& picker) {
    picker.Tree().SelectItem(ChildNamed(picker.Tree(), picker.Tree().GetRootItem(), "In"));
    test::PressKey(WXK_RETURN);
  });
  EXPECT_EQ(ShowMailboxPicker(nullptr, data_.Path(), path, name), 1);
  EXPECT_EQ(path, data_.File("In.mbx"));
  EXPECT_EQ(name, "In");
}

TEST_F(MailboxPickerTest, NewNewsboxMakesAMailboxInTheSelectedFolderOrAtTheTopAndChoosesIt) {
  const struct {
    const char* selected;  // the top item selected before the button is pressed
    const char* typed;
    const char* madePath;
  } cases[] = {
      {"News", "Science Weekly", "News.fol/Science Weekly.mbx"},
      {"In", "Gardening", "Gardening.mbx"},
  };
  for (const auto& c : cases) {
    std::string path, name;
    WhenShown<MailboxPicker>([&](MailboxPicker& picker) {
      picker.Tree().SelectItem(ChildNamed(picker.Tree(), picker.Tree().GetRootItem(), c.selected));
      WhenShown<wxTextEntryDialog>([&](wxTextEntryDialog& ask) {
        if (std::string(c.selected) == "News") test::SaveScreenshot(&ask, "mailbox_picker_new_newsbox_name");
        wxUIActionSimulator input;
        input.Text(c.typed);
        test::RunEventsFor(std::chrono::milliseconds(100));
        test::PressKey(WXK_RETURN);
      });
      if (std::string(c.selected) == "News") test::SaveScreenshot(&picker, "mailbox_picker_new_newsbox");
      test::Click(test::Child<wxButton>(picker, kNewNewsboxButtonId));
    });
    ASSERT_EQ(ShowMailboxPicker(nullptr, data_.Path(), path, name), 1) << c.typed;
    EXPECT_EQ(path, data_.File(c.madePath));
    EXPECT_EQ(name, c.typed);
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_TRUE(std::filesystem::is_regular_file(path.substr(0, path.size() - 3) + "toc"))
        << "its table of contents is there, so the newsbox list shows its counts";
    EXPECT_GT(core_->Store().FindMailbox(c.typed), 0) << "the host knows it";
  }
  EXPECT_TRUE(messageBoxes_.empty());
}

TEST_F(MailboxPickerTest, F1OpensTheSettingsHelpPage) {
  std::vector<std::string> opened;
  const DesktopOpener previous = SetDesktopOpener([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  test::WriteFileBytes(data_.File(kSettingsHelpTopic), "<p>help</p>");
  std::string path, name;
  WhenShown<MailboxPicker>([&](MailboxPicker&) {
    test::PressKey(WXK_F1);
    test::PressKey(WXK_ESCAPE);
  });
  EXPECT_NE(ShowMailboxPicker(nullptr, data_.Path(), path, name, data_.Path()), 1);
  SetDesktopOpener(previous);
  EXPECT_EQ(opened, std::vector<std::string>{data_.File(kSettingsHelpTopic)});
}

class MailboxPickerWithoutAutomationTest : public test::HostFixture {
protected:
  void SetUp() override {
    options_.automationAllowed = false;
    HostFixture::SetUp();
  }
};

TEST_F(MailboxPickerWithoutAutomationTest, ShowsOneMessageBoxAndTheRootAloneAndEscapeCancels) {
  std::string path = data_.File("In.mbx"), name = "In";
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
  EXPECT_EQ(path, data_.File("In.mbx")) << "a cancelled picker leaves the caller's newsbox";
  EXPECT_EQ(name, "In");
}

}  // namespace
}  // namespace tarnwick::ui
