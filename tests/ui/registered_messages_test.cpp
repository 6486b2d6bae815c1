// The two window messages between the check, the main window and the Newsboard, sent and handled
// through the toolkit's events without a display.
#include "ui/registered_messages.h"
#include "mailbox/new_article_notice.h"
#include "platform/ui_pump.h"
#include "ui/toolkit.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tarnwick::ui {
namespace {

// Stands in for the Newsboard: answers "uiDisplayWindow" with 1 and keeps a copy of each notice.
class RecordingWindow : public wxEvtHandler {
public:
  RecordingWindow() {
    Bind(kUiDisplayWindow, [this](DisplayWindowEvent& event) {
      requests.push_back(event.Request());
      event.SetAnswer(1);
    });
    Bind(kUiNewArticle, [this](NewArticleEvent& event) { notices.push_back(event.Notice()); });
  }
  std::vector<int> requests;
  std::vector<mailbox::NewArticleNotice> notices;
};

mailbox::NewArticleNotice NoticeNumber(int number) {
  mailbox::NewArticleNotice notice;
  notice.headerBlock = "Subject: article " + std::to_string(number) + "\r\n\r\n";
  notice.body = "<p>body " + std::to_string(number) + "</p>";
  notice.messageId = 100 + number;
  notice.newsboxName = "News";
  notice.newsboxPath = "/data/News.mbx";
  notice.newsboxId = 7;
  return notice;
}

class RegisteredMessages : public ::testing::Test {
protected:
  RegisteredMessages() { StartToolkit(); }
  ~RegisteredMessages() override { StopToolkit(); }
  RecordingWindow window;
};

TEST_F(RegisteredMessages, DisplayWindowCarriesTheRequestAndReturnsTheReceiversAnswer) {
  EXPECT_EQ(SendDisplayWindow(window, 1), 1);
  EXPECT_EQ(SendDisplayWindow(window, 0), 1);
  EXPECT_EQ(SendDisplayWindow(window, 5), 1);
  EXPECT_EQ(window.requests, (std::vector<int>{1, 0, 5}));
}

TEST_F(RegisteredMessages, DisplayWindowThatNobodyHandlesAnswersZero) {
  wxEvtHandler nobody;
  EXPECT_EQ(SendDisplayWindow(nobody, 1), 0);
}

TEST_F(RegisteredMessages, NewArticleOnTheUiThreadIsHandledBeforeTheSendReturns) {
  NewArticleForwarder forwarder(window);
  mailbox::NewArticleNotice notice = NoticeNumber(1);
  forwarder.OnNewArticle(notice);
  ASSERT_EQ(window.notices.size(), 1u);
  notice = NoticeNumber(2);  // the writer reuses its record for the next article
  EXPECT_EQ(window.notices[0].headerBlock, "Subject: article 1\r\n\r\n");
  EXPECT_EQ(window.notices[0].body, "<p>body 1</p>");
  EXPECT_EQ(window.notices[0].messageId, 101);
  EXPECT_EQ(window.notices[0].newsboxName, "News");
  EXPECT_EQ(window.notices[0].newsboxPath, "/data/News.mbx");
  EXPECT_EQ(window.notices[0].newsboxId, 7);
}

TEST_F(RegisteredMessages, NewArticlesFromAnotherThreadWaitForTheUiThreadInOrderAndWhole) {
  NewArticleForwarder forwarder(window);
  std::thread worker([&] {
    mailbox::NewArticleNotice notice;  // one record, overwritten for every article
    for (int number = 1; number <= 3; ++number) {
      notice = NoticeNumber(number);
      forwarder.OnNewArticle(notice);
    }
    notice = NoticeNumber(99);
  });
  worker.join();
  EXPECT_TRUE(window.notices.empty());  // the sender did not wait for the UI thread
  platform::DrainMessages();
  ASSERT_EQ(window.notices.size(), 3u);
  for (int number = 1; number <= 3; ++number) {
    EXPECT_EQ(window.notices[number - 1].body, NoticeNumber(number).body);
    EXPECT_EQ(window.notices[number - 1].messageId, 100 + number);
  }
}

TEST_F(RegisteredMessages, QueuedArticlesWaitWhileNothingDrainsTheUiThread) {
  std::thread worker([&] { NotifyNewArticle(window, NoticeNumber(1)); });
  worker.join();
  std::thread otherWorker([] { platform::DrainMessages(); });  // not the UI thread: a no-op
  otherWorker.join();
  EXPECT_TRUE(window.notices.empty());
  platform::DrainMessages();
  EXPECT_EQ(window.notices.size(), 1u);
}

}  // namespace
}  // namespace tarnwick::ui
