#pragma once

// The host with the real module in its plug-ins folder and a loopback server for its feed "Daily":
// what the end-to-end window tests of both systems start from.

#include "host_gui_fixture.h"
#include "support/http_server.h"

#include <string>
#include <vector>

namespace tarnwick::host::gui::test {

/// The feed "Daily": the first, second and third story, each linking to a page of `server`.
inline std::string DailyFeed(const tarnwick::test::HttpServer& server) {
  std::string items;
  for (const char* name : {"first", "second", "third"}) {
    items += std::string("<item><title>The ") + name + " story</title><link>" + server.Url("/" + std::string(name)) +
             "</link><guid>" + name + "</guid><description>Summary of the " + name + " story.</description></item>";
  }
  return "<rss version=\"2.0\"><channel><title>Daily</title><link>" + server.Url("/") + "</link>" + items +
         "</channel></rss>";
}

class RealModuleFixture : public HostGuiTest {
protected:
  RealModuleFixture() : HostGuiTest(TARNWICK_MODULE_FILE) {}

  void SetUp() override {
    HostGuiTest::SetUp();
    // The feed answers late enough for the run to be seen.
    server_.AddEndpoint("/feed.xml", 200, DailyFeed(server_), {{"Content-Type", "application/rss+xml"}},
                        tarnwick::test::Behaviour::kSlow);
  }

  int MessagesIn(int32_t mailbox) {
    std::vector<MessageInfo> messages;
    return Core().Store().ListMessages(mailbox, messages).ok ? static_cast<int>(messages.size()) : -1;
  }

  tarnwick::test::HttpServer server_;
};

}  // namespace tarnwick::host::gui::test
