// The wx-free parts of the host's windows: the preview page of a message and the queue that
// batches change notices for the UI thread.
#include "gui/change_queue.h"
#include "gui/message_preview.h"

#include <gtest/gtest.h>

#include <thread>

namespace tarnwick::host::gui {
namespace {

constexpr char kSeparator[] = "From ???@??? Tue Jun  3 04:05:09 2003\r\n";

TEST(MessagePreview, AnHtmlBodyIsShownAsMarkupUnderItsEscapedHeaders) {
  const std::string page =
      PreviewPage(std::string(kSeparator) +
                  "From: Desk <d@x>\r\nSubject: a & b\r\nDate: today\r\nContent-Type: text/html\r\n"
                  "\r\n<x-html><p>Hi</p>\r\n>From the desk</x-html>\r\n");
  EXPECT_NE(page.find("Desk &lt;d@x&gt;"), std::string::npos) << page;
  EXPECT_NE(page.find("a &amp; b"), std::string::npos);
  EXPECT_NE(page.find("<p>Hi</p>\r\nFrom the desk</body>"), std::string::npos) << "markers off, line unescaped";
  EXPECT_EQ(page.find("x-html"), std::string::npos);

  // Marked HTML without a Content-Type line is HTML too.
  EXPECT_NE(PreviewPage("Subject: s\r\n\r\n<x-html><b>x</b></x-html>").find("<b>x</b>"), std::string::npos);
}

TEST(MessagePreview, PlainTextIsEscapedAndOtherEncodingsBecomeUtf8) {
  const std::string page = PreviewPage("Subject: caf\xe9\r\n\r\n<script>alert(1)</script>\r\n");
  EXPECT_NE(page.find("<pre>&lt;script&gt;alert(1)&lt;/script&gt;</pre>"), std::string::npos) << page;
  EXPECT_NE(page.find("caf\xc3\xa9"), std::string::npos) << "Latin-1 read as such";
  EXPECT_EQ(AsUtf8("caf\xc3\xa9"), "caf\xc3\xa9") << "UTF-8 stays as it is";
  EXPECT_EQ(AsUtf8("\xf0\x9f\x98\x80"), "\xf0\x9f\x98\x80");
  EXPECT_EQ(AsUtf8("\xc3"), "\xc3\x83") << "a cut sequence is not UTF-8";
}

TEST(ChangeQueue, NoticesFromAnyThreadAreTakenInOneBatch) {
  int scheduled = 0;
  ChangeQueue queue([&] { ++scheduled; });
  queue.StoreChanged(5);
  std::thread other([&] {
    queue.StoreChanged(6);
    queue.WindowsChanged();
  });
  other.join();
  queue.StoreChanged(5);
  EXPECT_EQ(scheduled, 1) << "one refresh for the whole batch";

  PendingChanges changes = queue.Take();
  EXPECT_TRUE(changes.windows);
  EXPECT_EQ(changes.mailboxIds, (std::set<int32_t>{5, 6}));
  EXPECT_FALSE(queue.Take().windows);

  queue.WindowsChanged();
  EXPECT_EQ(scheduled, 2) << "after a take the next notice asks again";
  queue.Take();
  queue.Detach();
  queue.StoreChanged(7);
  EXPECT_EQ(scheduled, 2) << "a detached queue asks no more";
}

}  // namespace
}  // namespace tarnwick::host::gui
