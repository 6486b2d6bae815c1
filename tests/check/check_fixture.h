#pragma once

#include "check/check_run.h"
#include "check/feed_check.h"
#include "core/host_core.h"
#include "mailbox/newsbox_writer.h"
#include "platform/clock.h"
#include "store/feed_settings.h"
#include "support/http_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::check::test {

/// A view that records what a run shows.
class RecordingView : public CheckView {
public:
  void SetProgress(int percent) override { progress.push_back(percent); }
  void ShowGeneralStatus(const std::string& text) override {
    general.push_back(text);
    if (onGeneralStatus) onGeneralStatus(text);
  }
  void ShowDetailsStatus(const std::string& text) override {
    details.push_back(text);
    if (onDetailsStatus) onDetailsStatus(text);
  }
  void SetRunControlsEnabled(bool enabled) override { controls.push_back(enabled); }
  void ShowBusy(bool busy) override { this->busy = busy; }
  void FocusWindow() override { ++focused; }
  void BringNewsboardForward() override { ++newsboardForward; }

  std::function<void(const std::string&)> onGeneralStatus;
  std::function<void(const std::string&)> onDetailsStatus;
  std::vector<int> progress;
  std::vector<std::string> general;
  std::vector<std::string> details;
  std::vector<bool> controls;
  bool busy = false;
  int focused = 0;
  int newsboardForward = 0;
};

/// Records the notices sent to the Newsboard.
class RecordingReceiver : public mailbox::NewArticleReceiver {
public:
  void OnNewArticle(const mailbox::NewArticleNotice& notice) override {
    notices.push_back(notice);
    if (onNotice) onNotice(notice);
  }
  std::function<void(const mailbox::NewArticleNotice&)> onNotice;
  std::vector<mailbox::NewArticleNotice> notices;
};

/// A host with a data folder, published to this process, a loopback server for the feeds, and
/// the check's objects wired as the main window wires them.
class CheckFixture : public ::testing::Test {
protected:
  CheckFixture();
  ~CheckFixture() override;

  /// Makes a top-level mailbox and gives its file path.
  std::string CreateMailbox(const std::string& name);
  /// A feed served by the loopback server at /<alias>.xml, written to the settings file.
  store::FeedSettings AddFeed(const std::string& alias, const std::string& document, const std::string& newsbox);
  /// Serves a new document for a feed.
  void Serve(const std::string& alias, const std::string& document);
  /// The messages of a mailbox as stored, in file order.
  std::vector<std::string> Messages(const std::string& mailbox);
  /// Switches the host's automation server off or on.
  void SetAutomation(bool enabled);
  /// The feed's "LastArticle" value.
  std::string LastArticle(const std::string& alias);
  /// Checks the feed an hour after the previous check: undated items take the time of the check
  /// as their date, so they are always newer than the last article and only their identity can
  /// keep them from arriving again. Returns what the checker returns.
  int Check(const store::FeedSettings& feed);
  /// How many items the last check skipped for `reason`.
  int Skipped(feed::SkipReason reason) const;
  /// The stored value of a feed's key, "absent" when it has none.
  std::string Key(const std::string& alias, const char* key) const;
  /// The titles of the host's open mailbox windows, the topmost first.
  std::vector<std::string> WindowTitles();

  tarnwick::test::TempDir dir;
  std::string dataFolder = dir.Path();
  std::string plugins = dir.File("plugins");
  std::string settingsPath = plugins + "/tarnwick.ini";
  tarnwick::test::HttpServer server;
  std::shared_ptr<host::HostCore> core;
  platform::ManualClock clock{platform::DateTime::FromParts(2026, 12, 7, 7, 3, 15)};
  RecordingView view;
  RecordingReceiver receiver;
  automation::HostAutomation hostAutomation{[](int) {}};
  mailbox::NewsboxWriter writer;
  FeedChecker checker;
  CheckRun run;
};

}  // namespace tarnwick::check::test
