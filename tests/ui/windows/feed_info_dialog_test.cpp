// The information dialog on the screen: its texts, the keys that end it and those that do not.
#include "ui/feed_info_dialog.h"

#include "ui/desktop_launcher.h"

#include "dialog_driver.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace tarnwick::ui {
namespace {

using test::Child;
using test::WhenShown;

TEST(FeedInfoDialogWindow, RunReportShowsTheTotalAndOnlyOkEndsIt) {
  FeedInfo info;
  info.productName = "Tarnwick";
  info.feedsDone = 3;
  info.lastResult = 1;
  info.totalNew = 3;
  std::string title, text;
  bool verifyShown = true, stillOpenAfterEscape = false;
  WhenShown<FeedInfoDialog>([&](FeedInfoDialog& dialog) {
    title = dialog.GetTitle().utf8_string();
    text = Child<wxStaticText>(dialog, kInfoTextId)->GetLabelText().utf8_string();
    verifyShown = Child<wxButton>(dialog, kInfoVerifyId)->IsShown();
    test::SaveScreenshot(&dialog, "information_dialog_run_report");
    test::PressKey(WXK_ESCAPE);
    stillOpenAfterEscape = dialog.IsModal();
    test::PressKey(WXK_RETURN);
  });
  EXPECT_EQ(ShowFeedInfoDialog(nullptr, info), 1);
  EXPECT_EQ(title, "You've Got New Articles!");
  EXPECT_EQ(text, "\n\n\n\t\t\tYou've got 3 new articles.");
  EXPECT_FALSE(verifyShown);
  EXPECT_TRUE(stillOpenAfterEscape) << "Escape must not end the dialog";
}

TEST(FeedInfoDialogWindow, FeedErrorShowsVerifyAndTheNameAsWritten) {
  FeedInfo info;
  info.productName = "Tarnwick";
  info.name = "News & Views";
  info.url = "http://127.0.0.1/broken.xml";
  info.mailbox = "News";
  info.feedsDone = 1;
  info.lastResult = -1;
  std::string text;
  bool verifyShown = false, iconShown = false, stillOpenAfterVerify = false;
  WhenShown<FeedInfoDialog>([&](FeedInfoDialog& dialog) {
    text = Child<wxStaticText>(dialog, kInfoTextId)->GetLabelText().utf8_string();
    verifyShown = Child<wxButton>(dialog, kInfoVerifyId)->IsShown();
    iconShown = Child<wxStaticBitmap>(dialog, kInfoIconId)->GetBitmap().IsOk();
    test::SaveScreenshot(&dialog, "information_dialog_feed_error");
    test::Click(Child<wxButton>(dialog, kInfoVerifyId));
    stillOpenAfterVerify = dialog.IsModal();
    test::Click(Child<wxButton>(dialog, kInfoOkId));
  });
  std::vector<std::string> opened;
  DesktopOpener previous = SetDesktopOpener([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  EXPECT_EQ(ShowFeedInfoDialog(nullptr, info), 1);
  SetDesktopOpener(previous);
  EXPECT_EQ(opened,
            (std::vector<std::string>{"https://validator.w3.org/feed/check.cgi?url=http://127.0.0.1/broken.xml"}));
  EXPECT_TRUE(stillOpenAfterVerify);
  EXPECT_EQ(text.rfind(" Feed: News & Views\n URL: http://127.0.0.1/broken.xml\n Mailbox: News\n\n\n", 0), 0u) << text;
  EXPECT_TRUE(verifyShown);
  EXPECT_TRUE(iconShown);
}

}  // namespace
}  // namespace tarnwick::ui
