// Feed Properties on the screen with real input: a feed added with its newsbox chosen in the
// picker, a duplicate alias, Validate, Cancel after an edit, and downloads from a server that
// never answers ended by Escape and Cancel; over a real host and a real settings file, the feeds
// served on 127.0.0.1.
#include "ui/feed_properties_dialog.h"

#include "dialog_driver.h"
#include "host_fixture.h"
#include "support/http_server.h"
#include "ui/desktop_launcher.h"
#include "ui/feed_info_dialog.h"
#include "ui/mailbox_picker.h"
#include "ui/toolkit.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <chrono>
#include <filesystem>

namespace tarnwick::ui {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
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
    ui::StartToolkit();  // as the module does: a download handles the dialog's events meanwhile
    CreateNews();
    server_.AddEndpoint("/tech.xml", 200, kTechFeed);
    server_.AddEndpoint("/broken.xml", 200, "<rss><channel><title>Half</channel>");
    server_.AddEndpoint("/silent.xml", 200, kTechFeed, {}, test::Behaviour::kNeverAnswer);
    std::filesystem::create_directories(help_.Path());
    WriteFileBytes(help_.File("Settings.htm"), "<html><body>Settings</body></html>");
    previousOpener_ = SetDesktopOpener([this](const std::string& target) {
      opened_.push_back(target);
      return true;
    });
  }
  void TearDown() override {
    SetDesktopOpener(previousOpener_);
    ui::StopToolkit();
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
  ShownInfo good, broken, missing;
  WhenShown<FeedPropertiesDialog>([&](FeedPropertiesDialog& dialog) {
    test::TypeInto(Child<wxTextCtrl>(dialog, kAliasId), "tech");
    test::TypeInto(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/tech.xml"));
    RecordInfo(good, "information_dialog_valid_feed");
    test::Click(Child<wxButton>(dialog, kValidateId));
    Replace(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/broken.xml"));
    RecordInfo(broken, "information_dialog_feed_error_from_validate");
    test::Click(Child<wxButton>(dialog, kValidateId));
    Replace(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/missing.xml"));
    RecordInfo(missing, "information_dialog_feed_not_downloaded");
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
  // A download that fails is told once, in the dialog, with the server's answer as the reason.
  EXPECT_EQ(missing.title, "Tarnwick - Feed Error");
  EXPECT_NE(missing.text.find("This feed could not be downloaded.\nReason: "), std::string::npos) << missing.text;
  EXPECT_NE(missing.text.find("404"), std::string::npos) << missing.text;
  EXPECT_TRUE(messageBoxes_.empty()) << messageBoxes_.front();
  EXPECT_FALSE(std::filesystem::exists(settingsPath_));
}

// Presses a button with the real mouse and returns at once: the dialog's own loop takes the click,
// so that the download it starts is not nested in this caller's handling of events.
void PressLater(wxWindow* button) {
  wxUIActionSimulator input;
  input.MouseMove(button->GetScreenRect().GetPosition() + button->GetSize() / 2);
  input.MouseClick();
}

// Watches the dialog from its own event loop, which runs this timer while a download waits:
// Validate's download is ended with Escape once it has waited a while, then OK's with Cancel.
class DownloadWatcher : public wxTimer {
public:
  explicit DownloadWatcher(FeedPropertiesDialog& dialog) : dialog_(dialog) {
    dialog_.Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
      ++paints_;
      event.Skip();
    });
  }

  void Notify() override {
    if (inside_) return;  // pressing a key handles events, this timer's among them
    inside_ = true;
    if (dialog_.Model().Downloading()) {
      WhileDownloading();
    } else if (escapePressed != Clock::time_point() && escapeEnded == Clock::time_point()) {
      escapeEnded = Clock::now();
      openAfterEscape = dialog_.IsModal();
      for (wxWindow* window : wxTopLevelWindows) infoShown |= dynamic_cast<FeedInfoDialog*>(window) != nullptr;
      PressLater(dialog_.FindWindow(kPropertiesOkId));
    }
    inside_ = false;
  }

  bool busyCursor = false, buttonsLocked = true, repainted = false, openAfterEscape = false, infoShown = false;
  Clock::time_point escapePressed, escapeEnded, cancelPressed;

private:
  void WhileDownloading() {
    busyCursor |= wxIsBusy();
    buttonsLocked &= !dialog_.FindWindow(kPropertiesOkId)->IsEnabled() && !dialog_.FindWindow(kValidateId)->IsEnabled();
    if (waitingSince_ == Clock::time_point()) {
      waitingSince_ = Clock::now();
      paintsAtStart_ = paints_;
      dialog_.Refresh();
    }
    repainted |= paints_ > paintsAtStart_;
    if (Clock::now() - waitingSince_ < 300ms) return;
    waitingSince_ = {};
    wxUIActionSimulator input;
    if (escapePressed == Clock::time_point()) {
      test::SaveScreenshot(&dialog_, "feed_properties_downloading");
      escapePressed = Clock::now();
      input.Char(WXK_ESCAPE);
    } else if (cancelPressed == Clock::time_point()) {
      wxWindow* cancel = dialog_.FindWindow(kPropertiesCancelId);
      input.MouseMove(cancel->GetScreenRect().GetPosition() + cancel->GetSize() / 2);
      input.MouseClick();
      cancelPressed = Clock::now();
    }
  }

  FeedPropertiesDialog& dialog_;
  bool inside_ = false;
  int paints_ = 0, paintsAtStart_ = 0;
  Clock::time_point waitingSince_;
};

TEST_F(FeedPropertiesWindowTest, DownloadsFromAServerThatNeverAnswersEndOnEscapeAndCancel) {
  FeedPropertiesDialog dialog(nullptr, Context(), FeedPropertiesMode::kNew, {});
  DownloadWatcher watcher(dialog);
  test::WhenModal([&] {
    test::RunEventsFor(100ms);
    test::TypeInto(Child<wxTextCtrl>(dialog, kAliasId), "silent");
    test::TypeInto(Child<wxTextCtrl>(dialog, kUrlId), server_.Url("/silent.xml"));
    watcher.Start(10);
    PressLater(Child<wxButton>(dialog, kValidateId));
  });
  const int result = dialog.ShowModal();
  const Clock::time_point closed = Clock::now();
  watcher.Stop();

  ASSERT_NE(watcher.escapePressed, Clock::time_point()) << "Validate was never seen downloading";
  ASSERT_NE(watcher.escapeEnded, Clock::time_point());
  EXPECT_LT(watcher.escapeEnded - watcher.escapePressed, 3s) << "Escape ends the download at once";
  EXPECT_TRUE(watcher.openAfterEscape) << "Escape ends the download, not the dialog";
  EXPECT_FALSE(watcher.infoShown) << "a stopped download is no failure to report";
  ASSERT_NE(watcher.cancelPressed, Clock::time_point()) << "OK was never seen downloading";
  EXPECT_LT(closed - watcher.cancelPressed, 3s) << "Cancel ends the download and the dialog at once";
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(watcher.busyCursor);
  EXPECT_TRUE(watcher.buttonsLocked);
  EXPECT_TRUE(watcher.repainted) << "the dialog draws while it waits";
  EXPECT_FALSE(wxIsBusy());
  EXPECT_EQ(server_.HitCount("/silent.xml"), 2);
  EXPECT_TRUE(messageBoxes_.empty());
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
