// Newsboxes made for imported feeds through a real host published in this program.
#include "opml/newsbox_maker.h"

#include "core/host_core.h"
#include "core/host_registry.h"
#include "platform/message_box.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::opml {
namespace {

TEST(HostNewsboxMaker, HasTheRunningHostMakeTheMailboxOnceAndElseSaysWhy) {
  std::vector<std::string> messageBoxes;
  const platform::MessageBoxHandler previous = platform::SetMessageBoxHandler(
      [&](const std::string& text, const std::string&) { messageBoxes.push_back(text); });
  HostNewsboxMaker maker;
  EXPECT_EQ(maker.MailboxPath("Tech"), "");  // no host in the program yet
  EXPECT_EQ(messageBoxes.size(), 1u);

  test::TempDir data;
  std::string errorText;
  std::shared_ptr<host::HostCore> core = host::HostCore::Open(data.Path(), {}, errorText);
  ASSERT_TRUE(core) << errorText;
  host::PublishHost(core);
  const std::string path = maker.MailboxPath("Tech: News");
  EXPECT_EQ(path, data.File("Tech News.mbx"));
  EXPECT_GE(core->Store().FindMailboxByName("Tech News"), 0);
  EXPECT_EQ(maker.MailboxPath("Tech: News"), path);  // the same mailbox, not a second one
  host::WithdrawHost(core.get());
  platform::SetMessageBoxHandler(previous);
}

}  // namespace
}  // namespace tarnwick::opml
