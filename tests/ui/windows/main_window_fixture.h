#pragma once

// The main window against a real host published in this program, feeds served on 127.0.0.1, the
// plug-in's own check session, and a recorder in place of the desktop's opener of help pages.

#include "dialog_driver.h"
#include "host_fixture.h"

#include "plugin/check_session.h"
#include "plugin/plugin_context.h"
#include "store/feed_settings.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "ui/desktop_launcher.h"
#include "ui/main_window.h"
#include "ui/question_box.h"
#include "ui/toolkit.h"

#include <gtest/gtest.h>
#include <wx/listctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnwick::test {

/// An RSS document of `count` dated items whose guids are unique to `alias`.
inline std::string RssItems(const std::string& alias, int count) {
  std::string items;
  for (int i = 1; i <= count; ++i) {
    const std::string id = alias + "-" + std::to_string(i);
    items += "<item><title>" + id + " headline</title><link>http://example.org/" + id + "</link><guid>" + id +
             "</guid><pubDate>" + std::to_string(i) + " Jun 2003 10:00:00 GMT</pubDate><description>Body of " + id +
             "</description></item>";
  }
  return "<rss version=\"2.0\"><channel><title>" + alias + "</title>" + items + "</channel></rss>";
}

/// Runs `actions` from the event loop once a main window of that mode runs (RunModally).
inline void WhenMainWindowRuns(std::function<void(ui::MainWindow&)> actions, bool cacheMode = false) {
  class Poll : public wxTimer {
  public:
    Poll(std::function<void(ui::MainWindow&)> actions, bool cacheMode)
        : actions_(std::move(actions)), cacheMode_(cacheMode) {}
    void Notify() override {
      for (wxWindow* window : wxTopLevelWindows) {
        auto* main = dynamic_cast<ui::MainWindow*>(window);
        if (main == nullptr || !main->IsRunning() || main->CacheMode() != cacheMode_ || !main->IsShown()) continue;
        Stop();
        std::function<void(ui::MainWindow&)> actions = std::move(actions_);
        wxTheApp->CallAfter([this] { delete this; });
        RunEventsFor(std::chrono::milliseconds(100));  // let it draw and take the focus
        actions(*main);
        return;
      }
    }

  private:
    std::function<void(ui::MainWindow&)> actions_;
    bool cacheMode_;
  };
  (new Poll(std::move(actions), cacheMode))->Start(20);
}

/// Clicks row `row` of a list with the real mouse, with Shift held when `extend`.
inline void ClickRow(wxListCtrl& list, long row, bool extend = false) {
  wxRect rect;
  ASSERT_TRUE(list.GetItemRect(row, rect)) << row;
  wxUIActionSimulator input;
  if (extend) input.KeyDown(WXK_SHIFT);
  ClickAt(&list, wxPoint(rect.x + rect.width / 3, rect.y + rect.height / 2));
  if (extend) input.KeyUp(WXK_SHIFT);
  RunEventsFor(std::chrono::milliseconds(50));
}

/// Once a popup menu is up (it is given `delayMilliseconds`), picks its command by the mnemonic key.
inline void ChooseFromNextMenu(char mnemonic, int delayMilliseconds = 400) {
  class Pick : public wxTimer {
  public:
    explicit Pick(char key) : key_(key) {}
    void Notify() override {
      wxUIActionSimulator().Char(key_);
      wxTheApp->CallAfter([this] { delete this; });
    }

  private:
    char key_;
  };
  (new Pick(mnemonic))->StartOnce(delayMilliseconds);
}

/// The image of a list's row.
inline int RowImage(wxListCtrl& list, long row) {
  wxListItem item;
  item.SetId(row);
  item.SetMask(wxLIST_MASK_IMAGE);
  return list.GetItem(item) ? item.GetImage() : -100;
}

/// A real host over a data folder with a plug-in folder in it, feeds served on 127.0.0.1, and a
/// recorder in place of the desktop's opener of help pages.
class MainWindowFixture : public HostFixture {
protected:
  void SetUp() override {
    HostFixture::SetUp();
    ui::StartToolkit();  // as the module does when it is loaded: runs drain the window's events
    const std::string plugins = data_.File("plugins");
    std::filesystem::create_directories(plugins);
    context.hostApiVersion = 4;
    context.pluginFolder = plugins;
    context.settingsPath = plugins + "/tarnwick.ini";
    context.scratchFeedPath = plugins + "/feed.xml";
    context.productName = "Tarnwick";
    context.versionText = "Version: 1.0";
    context.hostDataFolder = data_.Path();
    context.inMailboxPath = data_.File("In.mbx");
    context.outMailboxPath = data_.File("Out.mbx");
    const char* source = std::getenv("TARNWICK_SOURCE_DIR");
    context.helpPath = std::string(source != nullptr ? source : ".") + "/res/help";
    previousOpener_ = ui::SetDesktopOpener([this](const std::string& target) {
      opened.push_back(target);
      return true;
    });
    previousAnswerer_ = ui::SetQuestionAnswerer([this](const std::string& text) {
      questions.push_back(text);
      return answer;
    });
  }

  void TearDown() override {
    ui::SetQuestionAnswerer(previousAnswerer_);
    ui::SetDesktopOpener(previousOpener_);
    ui::StopToolkit();
    HostFixture::TearDown();
  }

  /// A feed served at /<alias>.xml with `items` items, delivering into the new mailbox `newsbox`,
  /// with the three options given; written to the settings file.
  store::FeedSettings AddFeed(const std::string& alias, int items, const std::string& newsbox, int referring = 0,
                              int onlyNew = 1, int autoCheck = 0) {
    server.AddEndpoint("/" + alias + ".xml", 200, RssItems(alias, items), {{"Content-Type", "application/rss+xml"}});
    if (core_->Store().FindMailbox(newsbox) == 0) Create(0, newsbox, true);
    store::FeedSettings feed{alias,
                             alias + " Feed",
                             server.Url("/" + alias + ".xml"),
                             newsbox,
                             data_.File(newsbox + ".mbx"),
                             referring,
                             onlyNew,
                             autoCheck,
                             autoCheck ? 30 : 0,
                             1};
    store::SettingsStore(context.settingsPath).WriteFeed(feed, "");
    return feed;
  }

  ui::MainWindowSetup Setup(bool cacheMode = false) const {
    ui::MainWindowSetup setup;
    setup.files = {context.settingsPath, context.scratchFeedPath, context.hostDataFolder, context.helpPath,
                   context.productName};
    setup.versionText = context.versionText;
    setup.cacheMode = cacheMode;
    return setup;
  }

  /// Makes the check run as the plug-in does, from the context.
  ui::CheckRunFactory Factory() {
    return [this](check::CheckView& view, mailbox::NewArticleReceiver* receiver) {
      auto session = std::make_shared<plugin::CheckSession>(context, view, receiver, true);
      return std::shared_ptr<check::CheckRun>(session, &session->Run());
    };
  }

  int CountMessages(const std::string& mailbox) {
    std::vector<host::MessageInfo> messages;
    const int32_t id = core_->Store().FindMailbox(mailbox);
    if (id == 0 || !core_->Store().ListMessages(id, messages).ok) return -1;
    return static_cast<int>(messages.size());
  }

  plugin::PluginContext context;
  HttpServer server;
  std::vector<std::string> opened;     // what the windows asked the desktop to open
  std::vector<std::string> questions;  // what the windows asked the user
  bool answer = true;                  // and the answer they got

private:
  ui::DesktopOpener previousOpener_;
  ui::QuestionAnswerer previousAnswerer_;
};

}  // namespace tarnwick::test
