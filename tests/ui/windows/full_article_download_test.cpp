// "Get the Full Article" with Ctrl held, on the screen: while the page downloads a progress window
// shows over a busy cursor, and Escape or its Cancel ends a download from a server that never
// answers at once, leaving the message as the host had it and saying nothing.
#include "dialog_driver.h"
#include "platform/ems_records.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "plugin/full_article_translator.h"
#include "plugin/plugin_context.h"
#include "support/http_server.h"
#include "support/temp_dir.h"
#include "ui/download_progress_texts.h"
#include "ui/plugin_windows.h"
#include "ui/toolkit.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <filesystem>

namespace tarnwick::test {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Once the progress window has been up a while, ends the download with the real Escape key or a
// click on its Cancel button, and notes what the screen showed.
class ProgressWatcher : public wxTimer {
public:
  explicit ProgressWatcher(bool useEscape) : useEscape_(useEscape) {}

  void Notify() override {
    if (inside_ || pressed != Clock::time_point()) return;
    inside_ = true;
    for (wxWindow* window : wxTopLevelWindows) {
      if (!window->IsShown() || window->GetLabel() != ui::kDownloadProgressTitle) continue;
      busyCursor |= wxIsBusy();
      if (shownSince_ == Clock::time_point()) shownSince_ = Clock::now();
      if (Clock::now() - shownSince_ > 300ms) Press(*window);
    }
    inside_ = false;
  }

  bool busyCursor = false;
  Clock::time_point pressed;

private:
  void Press(wxWindow& progress) {
    wxUIActionSimulator input;
    if (useEscape_) {
      SaveScreenshot(&progress, "full_article_download");
      input.Char(WXK_ESCAPE);
    } else {
      wxWindow* cancel = progress.FindWindow(wxID_CANCEL);
      input.MouseMove(cancel->GetScreenRect().GetPosition() + cancel->GetSize() / 2);
      input.MouseClick();
    }
    pressed = Clock::now();
  }

  bool useEscape_;
  bool inside_ = false;
  Clock::time_point shownSince_;
};

class FullArticleDownloadTest : public ::testing::Test {
protected:
  void SetUp() override {
    ui::StartToolkit();  // as the module does: the download handles the window's events
    std::filesystem::create_directories(plugins_);
    context_.pluginFolder = plugins_;
    WriteFileBytes(outPath_, "as the host had it");
    WriteFileBytes(inPath_, "message file");
    server_.AddEndpoint("/silent.html", 200, "<p>never sent</p>", {}, Behaviour::kNeverAnswer);
    rawHeaders_ = "Subject: News\r\nWebsite: " + server_.Url("/silent.html") + "\r\nFeed: F";
    header_.rawHeaders = rawHeaders_.data();
    previousKeys_ = platform::SetKeyStateProvider([](platform::Key key) { return key == platform::Key::kControl; });
    previousBoxes_ = platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string&) { messageBoxes_.push_back(text); });
    previousOpener_ = plugin::SetDownloadProgressOpener(ui::ShowDownloadProgress);
  }
  void TearDown() override {
    plugin::SetDownloadProgressOpener(previousOpener_);
    platform::SetMessageBoxHandler(previousBoxes_);
    platform::SetKeyStateProvider(previousKeys_);
    ui::StopToolkit();
  }

  // Translates with a watcher pressing Escape or Cancel; the time from the press to the result.
  Clock::duration TranslateAndStop(bool useEscape, int32_t& result, bool& busyCursor) {
    ProgressWatcher watcher(useEscape);
    watcher.Start(10);
    // From a running event loop, as the host's translator command runs it.
    Clock::time_point ended;
    wxGUIEventLoop loop;
    wxTheApp->CallAfter([&] {
      result = plugin::TranslateFullArticle(context_, &in_, &out_);
      ended = Clock::now();
      loop.Exit();
    });
    loop.Run();
    watcher.Stop();
    busyCursor = watcher.busyCursor;
    EXPECT_NE(watcher.pressed, Clock::time_point()) << "the progress window never showed";
    RunEventsFor(200ms);  // the dismissed window goes at idle time
    return ended - watcher.pressed;
  }

  TempDir dir_;
  HttpServer server_;
  std::string plugins_ = dir_.File("plugins");
  std::string inPath_ = dir_.File("in.msg");
  std::string outPath_ = dir_.File("out.msg");
  std::string rawHeaders_;
  plugin::PluginContext context_;
  EmsHeaderData header_{sizeof(EmsHeaderData), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  EmsDataFile in_{sizeof(EmsDataFile), 0, nullptr, inPath_.data(), &header_};
  EmsDataFile out_{sizeof(EmsDataFile), 0, nullptr, outPath_.data(), nullptr};
  std::vector<std::string> messageBoxes_;
  platform::KeyStateProvider previousKeys_;
  platform::MessageBoxHandler previousBoxes_;
  plugin::DownloadProgressOpener previousOpener_;
};

TEST_F(FullArticleDownloadTest, EscapeOrCancelEndsADownloadThatNeverAnswersAtOnce) {
  for (const bool useEscape : {true, false}) {
    int32_t result = 0;
    bool busyCursor = false;
    const Clock::duration stopping = TranslateAndStop(useEscape, result, busyCursor);
    EXPECT_LT(stopping, 3s) << (useEscape ? "Escape" : "Cancel");
    EXPECT_EQ(result, platform::kEmsPageNotDownloaded);
    EXPECT_TRUE(busyCursor);
    EXPECT_FALSE(wxIsBusy());
    for (wxWindow* window : wxTopLevelWindows) EXPECT_NE(window->GetLabel(), ui::kDownloadProgressTitle);
  }
  EXPECT_EQ(server_.HitCount("/silent.html"), 2);
  EXPECT_EQ(ReadFileBytes(outPath_), "as the host had it");
  EXPECT_TRUE(messageBoxes_.empty()) << "a cancelled download is no failure to report";
}

}  // namespace
}  // namespace tarnwick::test
