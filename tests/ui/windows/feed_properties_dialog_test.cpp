// Feed Properties on the screen with real input: a feed added with its newsbox chosen in the
// picker, a duplicate alias, Validate, and Cancel after an edit; over a real host and a real
// settings file, the feeds served on 127.0.0.1.
#include "ui/feed_properties_dialog.h"

#include "dialog_driver.h"
#include "host_fixture.h"
#include "support/http_server.h"
#include "ui/desktop_launcher.h"
#include "ui/feed_info_dialog.h"
#include "ui/mailbox_picker.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <filesystem>

namespace tarnwick::ui {
namespace {

using test::Child;
using test::ReadFileBytes;
using test::WhenShown;
using test::WriteFileBytes;

const char kTechFeed[] =
    "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Tech Today</title>"
    "<item><title>One</title><link>http://t/1</link></item></channel></rss>";

// What an information dialog showed.
struct ShownInfo {
  std::string title, text;
  int icon = 0;
  bool iconShown = false, verifyShown = false;
};

class FeedPropertiesWindowTest : public test::HostFixture {
protected:
  void SetUp() override {
    HostFixture::SetUp();
    CreateNews();
    server_.AddEndpoint("/tech.xml", 200, kTechFeed);
    server_.AddEndpoint("/broken.xml", 200, "<rss><channel><title>Half</channel>");
    std::filesystem::create_directories(help_.Path());
    WriteFileBytes(help_.File("Settings.htm"), "<html><body>Settings</body></html>");
    previousOpener_ = SetDesktopOpener([this](const std::string& target) {
      opened_.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    SetDesktopOpener(previousOpener_);
    HostFixture::TearDown();
  }

  FeedDialogContext Context() const {
    return {settingsPath_, settings_.File("feed.xml"), data_.Path(), help_.Path(), "Tarnwick"};
  }
  std::string TechPath() const { return data_.File("News.fol/Tech.mbx"); }

  // Opens the picker from the newsbox button and picks News > Tech with double clicks.
  static void ChooseTech(FeedPropertiesDialog& dialog) {
    WhenShown<MailboxPicker>([](MailboxPicker& picker) {
      wxTreeCtrl& tree = picker.Tree();
      const wxTreeItemId news = test::ChildNamed(tree, tree.GetRootItem(), "News");
      test::DoubleClickItem(tree, news);
      test::SaveScreenshot(&picker, "mailbox_picker_from_feed_properties");
      test::DoubleClickItem(tree, test::ChildNamed(tree, news, "Tech"));
    });
    test::Click(Child<wxButton>(dialog, kNewsboxButtonId));
  }
  // Registers a recorder for the next information dialog, which it closes with OK.
  static void RecordInfo(ShownInfo& shown, const std::string& screenshot) {
    WhenShown<FeedInfoDialog>([&shown, screenshot](FeedInfoDialog& info) {
      shown.title = info.GetTitle().utf8_string();
      shown.text = Child<wxStaticText>(info, kInfoTextId)->GetLabelText().utf8_string();
      shown.icon = info.Message().iconNumber;
      shown.iconShown = Child<wxStaticBitmap>(info, kInfoIconId)->GetBitmap().IsOk();
      shown.verifyShown = Child<wxButton>(info, kInfoVerifyId)->IsShown();
      if (!screenshot.empty()) test::SaveScreenshot(&info, screenshot);
      test::Click(Child<wxButton>(info, kInfoOkId));
    });
  }
  static void Replace(wxTextCtrl* control, const std::string& text) {
    control->SelectAll();
    test::TypeInto(control, text);
  }

  test::TempDir settings_;
  test::TempDir help_;
  std::string settingsPath_ = settings_.File("tarnwick.ini");
  test::HttpServer server_;
  std::vector<std::string> opened_;
  DesktopOpener previousOpener_;
};

TEST_F(FeedPropertiesWindowTest, AddingAFeedWritesItsNineKeys) {
  store::FeedSettings feed;
  bool intervalOffAtFirst = false, intervalOnAfterClick = false;
  int iconAfterClick = 0;
  std::string newsboxText;
  WhenShown<FeedPropertiesDialog>([&](FeedPropertiesDialog& dialog) {
    test::TypeInto(Child<wxTextCtrl>(dialog, kAliasId), "tech");
    test::TypeInto(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/tech.xml"));
    ChooseTech(dialog);
    newsboxText = Child<wxButton>(dialog, kNewsboxButtonId)->GetLabelText().utf8_string();
    intervalOffAtFirst = !Child<wxTextCtrl>(dialog, kIntervalId)->IsEnabled();
    test::Click(Child<wxCheckBox>(dialog, kAutoCheckId));
    intervalOnAfterClick = Child<wxTextCtrl>(dialog, kIntervalId)->IsEnabled();
    iconAfterClick = dialog.Model().StatusIcon();
    Replace(Child<wxTextCtrl>(dialog, kIntervalId), "30");
    test::SaveScreenshot(&dialog, "feed_properties");
    test::Click(Child<wxButton>(dialog, kPropertiesOkId));
  });
  EXPECT_EQ(ShowFeedPropertiesDialog(nullptr, Context(), FeedPropertiesMode::kNew, feed), 1);
  EXPECT_EQ(newsboxText, "Tech");
  EXPECT_TRUE(intervalOffAtFirst);
  EXPECT_TRUE(intervalOnAfterClick);
  EXPECT_EQ(iconAfterClick, 191);
  EXPECT_EQ(ReadFileBytes(settingsPath_), "[Aliases]\ntech=Tech Today\n[tech]\nName=Tech Today\nURL=" +
                                              server_.Url("/tech.xml") + "\nNewsbox=Tech\nNewsboxPath=" + TechPath() +
                                              "\nDownloadReferringArticles=0\nDownloadOnlyNewArticles=1\n"
                                              "LastArticle=\nAutoCheck=1\nIntervalMinutes=30\n");
  EXPECT_EQ(feed.alias, "tech");
  EXPECT_EQ(feed.name, "Tech Today");
  EXPECT_EQ(feed.newsboxPath, TechPath());
  EXPECT_EQ(feed.intervalMinutes, 30);
  EXPECT_TRUE(messageBoxes_.empty());
}

TEST_F(FeedPropertiesWindowTest, DuplicateAliasShowsTheInformationDialogAndSavesNothing) {
  const std::string before = "[Aliases]\nTech=Tech Today\n[Tech]\nURL=http://127.0.0.1/other.xml\n";
  WriteFileBytes(settingsPath_, before);
  store::FeedSettings feed;
  ShownInfo shown;
  bool stillOpen = false, inputsBack = false;
  WhenShown<FeedPropertiesDialog>([&](FeedPropertiesDialog& dialog) {
    test::TypeInto(Child<wxTextCtrl>(dialog, kAliasId), "TECH");
    test::TypeInto(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/tech.xml"));
    ChooseTech(dialog);
    RecordInfo(shown, "information_dialog_duplicate_alias");
    test::Click(Child<wxButton>(dialog, kPropertiesOkId));
    stillOpen = dialog.IsModal();
    inputsBack = Child<wxTextCtrl>(dialog, kAliasId)->IsEnabled();
    test::Click(Child<wxButton>(dialog, kPropertiesCancelId));
  });
  EXPECT_EQ(ShowFeedPropertiesDialog(nullptr, Context(), FeedPropertiesMode::kNew, feed), 0);
  EXPECT_EQ(shown.title, "Tarnwick");
  EXPECT_EQ(shown.text, " Feed: Tech Today\n URL: " + server_.Url("/tech.xml") +
                            "\n Mailbox: Tech\n\n\n"
                            "There already exist the feed with the same alias.\n"
                            "Please specify unique alias for this feed.");
  EXPECT_EQ(shown.icon, 117);
  EXPECT_FALSE(shown.verifyShown);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(inputsBack);
  EXPECT_EQ(ReadFileBytes(settingsPath_), before);
}

TEST_F(FeedPropertiesWindowTest, ValidateReportsAGoodAndABrokenFeed) {
  store::FeedSettings feed;
  ShownInfo good, broken;
  WhenShown<FeedPropertiesDialog>([&](FeedPropertiesDialog& dialog) {
    test::TypeInto(Child<wxTextCtrl>(dialog, kAliasId), "tech");
    test::TypeInto(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/tech.xml"));
    RecordInfo(good, "information_dialog_valid_feed");
    test::Click(Child<wxButton>(dialog, kValidateId));
    Replace(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/broken.xml"));
    RecordInfo(broken, "information_dialog_feed_error_from_validate");
    test::Click(Child<wxButton>(dialog, kValidateId));
    test::Click(Child<wxButton>(dialog, kPropertiesCancelId));
  });
  EXPECT_EQ(ShowFeedPropertiesDialog(nullptr, Context(), FeedPropertiesMode::kNew, feed), 0);
  EXPECT_EQ(good.title, "Tarnwick");
  EXPECT_EQ(good.text,
            " Feed: \n URL: " + server_.Url("/tech.xml") + "\n Mailbox: \n\n\nThis is a valid RSS/Atom feed.");
  EXPECT_EQ(good.icon, 1010);
  EXPECT_TRUE(good.iconShown);
  EXPECT_FALSE(good.verifyShown);
  EXPECT_EQ(broken.title, "Tarnwick - Feed Error");
  EXPECT_EQ(broken.text, " Feed: Tech Today\n URL: " + server_.Url("/broken.xml") +
                             "\n Mailbox: \n\n\nThis is not a valid RSS/Atom feed.\n"
                             "Please check the URL-path, make sure computer is on-line, and try again.");
  EXPECT_EQ(broken.icon, 1010);
  EXPECT_TRUE(broken.iconShown);
  EXPECT_TRUE(broken.verifyShown);
  EXPECT_FALSE(std::filesystem::exists(settingsPath_));
}

TEST_F(FeedPropertiesWindowTest, EditThenCancelLeavesTheFileAsItWasAndOnlyOkOrCancelEndIt) {
  const std::string before = "[Aliases]\r\nnews=Daily News\r\nTech=Tech Today\r\n[news]\r\nName=Daily News\r\nURL=" +
                             server_.Url("/tech.xml") + "\r\nNewsbox=Tech\r\nNewsboxPath=" + TechPath() +
                             "\r\nLastArticle=5/1/2026 10:00:00\r\nLastCheck=5/2/2026 9:00:00 AM\r\n"
                             "NotifyNewsBoard=0\r\n[Tech]\r\nURL=http://127.0.0.1/other.xml\r\n";
  WriteFileBytes(settingsPath_, before);
  store::FeedSettings feed;
  feed.alias = "news";
  feed.name = "Daily News";
  feed.url = server_.Url("/tech.xml");
  feed.newsbox = "Tech";
  feed.newsboxPath = TechPath();
  const store::FeedSettings opened = feed;
  std::string nameLabel, newsboxText, fileWhileOpen;
  bool openAfterKeys = false;
  WhenShown<FeedPropertiesDialog>([&](FeedPropertiesDialog& dialog) {
    nameLabel = Child<wxStaticText>(dialog, kNameLabelId)->GetLabelText().utf8_string();
    newsboxText = Child<wxButton>(dialog, kNewsboxButtonId)->GetLabelText().utf8_string();
    fileWhileOpen = ReadFileBytes(settingsPath_);
    Replace(Child<wxTextCtrl>(dialog, kAliasId), "renamed");
    test::Click(Child<wxCheckBox>(dialog, kDownloadReferringId));
    Child<wxButton>(dialog, kPropertiesOkId)->SetFocus();
    test::PressKey(WXK_RETURN);  // not even on OK itself
    test::PressKey(WXK_ESCAPE);
    openAfterKeys = dialog.IsModal();
    if (!openAfterKeys) return;
    test::SaveScreenshot(&dialog, "feed_properties_edit");
    test::Click(Child<wxButton>(dialog, kPropertiesHelpId));
    test::Click(Child<wxButton>(dialog, kPropertiesCancelId));
  });
  EXPECT_EQ(ShowFeedPropertiesDialog(nullptr, Context(), FeedPropertiesMode::kEdit, feed), 0);
  EXPECT_EQ(nameLabel, " >> Daily News << ");
  EXPECT_EQ(newsboxText, "Tech");
  EXPECT_EQ(fileWhileOpen, before) << "the edited feed stays in the file while the dialog is open";
  EXPECT_TRUE(openAfterKeys) << "Enter and Escape must not end the dialog";
  EXPECT_EQ(opened_, (std::vector<std::string>{help_.File("Settings.htm")}));
  EXPECT_EQ(ReadFileBytes(settingsPath_), before);
  EXPECT_EQ(feed, opened);
}

}  // namespace
}  // namespace tarnwick::ui
