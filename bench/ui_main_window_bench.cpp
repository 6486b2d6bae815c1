// What a person waits for in the main window: Download pressed on N feeds until the run's end,
// against the headless check of the same feeds (the code path of `tarnwick-host check`), each
// in a data folder of its own with a real host in this program and the feeds from a loopback
// server. Also the longest time the window went without handling its events during the run.
// Needs an X display: run it as `xvfb-run -a build/bench/ui_main_window_bench`.
#include "core/host_core.h"
#include "core/host_registry.h"
#include "plugin/check_session.h"
#include "plugin/plugin_context.h"
#include "platform/message_box.h"
#include "platform/ui_pump.h"
#include "store/settings_store.h"
#include "support/http_server.h"
#include "support/temp_dir.h"
#include "ui/desktop_launcher.h"
#include "ui/main_window.h"
#include "ui/newsboard_window.h"
#include "ui/toolkit.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/init.h>
#include <wx/listctrl.h>
#include <wx/log.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace tarnwick;
using Clock = std::chrono::steady_clock;

class QuietView : public check::CheckView {
public:
  void SetProgress(int) override {}
  void ShowGeneralStatus(const std::string&) override {}
  void ShowDetailsStatus(const std::string&) override {}
  void SetRunControlsEnabled(bool) override {}
  void ShowBusy(bool) override {}
  void FocusWindow() override {}
  void BringNewsboardForward() override {}
};

std::string FeedDocument(const std::string& alias, int items) {
  std::string text = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>" + alias + "</title>";
  for (int i = 0; i < items; ++i) {
    const std::string id = alias + "-" + std::to_string(i);
    text += "<item><title>Item " + id + "</title><link>http://example.org/" + id + "</link><guid>" + id +
            "</guid><pubDate>Tue, 10 Jun 2003 04:" + std::to_string(10 + i % 50) +
            ":00 GMT</pubDate><description><![CDATA[<p>Body of item " + id +
            " with <b>markup</b> and a few words to make it a realistic size for a feed item.</p>]]></description></item>";
  }
  return text + "</channel></rss>";
}

// A data folder with its feeds configured, a host over it published in this program, and the
// plug-in's context for it. The feeds' documents come from `server`, full each time.
struct DataFolder {
  DataFolder(test::HttpServer& server, int feeds, int items) {
    std::string errorText;
    core = host::HostCore::Open(dir.Path(), {}, errorText);
    host::PublishHost(core);
    const std::string plugins = dir.File("plugins");
    mkdir(plugins.c_str(), 0755);
    context.hostApiVersion = 4;
    context.pluginFolder = plugins;
    context.settingsPath = plugins + "/tarnwick.ini";
    context.scratchFeedPath = plugins + "/feed.xml";
    context.productName = "Tarnwick";
    context.versionText = "Version: 1.0";
    context.hostDataFolder = dir.Path();
    context.inMailboxPath = dir.File("In.mbx");
    context.outMailboxPath = dir.File("Out.mbx");
    store::SettingsStore settings(context.settingsPath);
    for (int feed = 0; feed < feeds; ++feed) {
      const std::string alias = "f" + std::to_string(feed);
      server.AddEndpoint("/" + alias + ".xml", 200, FeedDocument(alias, items),
                         {{"Content-Type", "application/rss+xml"}});
      int32_t id = 0;
      (void)core->Store().Create(0, "Box" + alias, true, &id, nullptr);
      const store::FeedSettings settingsOfFeed{
          alias, alias + " Feed", server.Url("/" + alias + ".xml"), "Box" + alias, dir.File("Box" + alias + ".mbx"),
          0,     1,               0,
          0,     1};
      settings.WriteFeed(settingsOfFeed, "");
      list.push_back(settingsOfFeed);
    }
  }
  ~DataFolder() { host::WithdrawHost(core.get()); }

  test::TempDir dir;
  std::shared_ptr<host::HostCore> core;
  plugin::PluginContext context;
  std::vector<store::FeedSettings> list;
};

Clock::duration HeadlessRun(DataFolder& data) {
  QuietView view;
  plugin::CheckSession session(data.context, view, nullptr, false);
  // As in `tarnwick-host check`: no window, so no events to handle.
  const platform::MessagePump window = platform::SetMessagePump({});
  const Clock::time_point start = Clock::now();
  session.Run().RunSelectedFeeds(data.list);
  const Clock::duration taken = Clock::now() - start;
  platform::SetMessagePump(window);
  return taken;
}

// The longest time between two drains of the window's events while it is installed.
class DrainWatch {
public:
  DrainWatch() {
    window_ = platform::SetMessagePump({});
    platform::SetMessagePump([this] {
      const Clock::time_point now = Clock::now();
      if (last_ != Clock::time_point()) longest_ = std::max(longest_, now - last_);
      window_();
      last_ = Clock::now();
    });
  }
  ~DrainWatch() { platform::SetMessagePump(window_); }
  void Start() { last_ = Clock::now(); }
  Clock::duration Longest() const { return longest_; }

private:
  platform::MessagePump window_;
  Clock::time_point last_;
  Clock::duration longest_{};
};

// Download pressed in the real main window with every feed selected, until the window closes.
Clock::duration WindowRun(DataFolder& data, Clock::duration& longestGap) {
  ui::MainWindowSetup setup;
  setup.files = {data.context.settingsPath, data.context.scratchFeedPath, data.context.hostDataFolder, "",
                 data.context.productName};
  setup.versionText = data.context.versionText;
  const ui::CheckRunFactory factory = [&data](check::CheckView& view, mailbox::NewArticleReceiver* receiver) {
    auto session = std::make_shared<plugin::CheckSession>(data.context, view, receiver, true);
    return std::shared_ptr<check::CheckRun>(session, &session->Run());
  };
  ui::NewsboardWindow newsboard{ui::ViewerContext{}};
  ui::MainWindow window(nullptr, setup, factory, &newsboard);
  DrainWatch drains;
  Clock::time_point start;
  window.CallAfter([&] {
    auto* feeds = dynamic_cast<wxListCtrl*>(window.FindWindow(ui::kFeedListId));
    for (long row = 0; row < feeds->GetItemCount(); ++row)
      feeds->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxWindow* download = window.FindWindow(ui::kDownloadId);
    wxCommandEvent press(wxEVT_BUTTON, ui::kDownloadId);
    press.SetEventObject(download);
    start = Clock::now();
    drains.Start();
    download->GetEventHandler()->ProcessEvent(press);
  });
  window.RunModally();
  const Clock::duration taken = Clock::now() - start;
  longestGap = drains.Longest();
  return taken;
}

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// Arguments: feeds, items per feed, and 1 when the timed runs find nothing new (a first run has
// delivered everything; the server sends the whole documents again).
void BM_WindowAgainstHeadless(benchmark::State& state) {
  const int feeds = static_cast<int>(state.range(0));
  const int items = static_cast<int>(state.range(1));
  const bool nothingNew = state.range(2) == 1;
  double window = 0, headless = 0, longestGap = 0;
  for (auto _ : state) {
    test::HttpServer server;
    Clock::duration headlessTime, windowTime, gap{};
    {
      DataFolder data(server, feeds, items);
      if (nothingNew) HeadlessRun(data);
      headlessTime = HeadlessRun(data);
    }
    {
      DataFolder data(server, feeds, items);
      if (nothingNew) HeadlessRun(data);
      windowTime = WindowRun(data, gap);
    }
    state.SetIterationTime(std::chrono::duration<double>(windowTime).count());
    window += Milliseconds(windowTime);
    headless += Milliseconds(headlessTime);
    longestGap = std::max(longestGap, Milliseconds(gap));
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["window_ms"] = window / runs;
  state.counters["headless_ms"] = headless / runs;
  // What the window may cost: one and a half times the headless run, and 0.3 s more.
  state.counters["budget_ms"] = 1.5 * headless / runs + 300;
  state.counters["longest_gap_ms"] = longestGap;
}
BENCHMARK(BM_WindowAgainstHeadless)
    ->ArgNames({"feeds", "items", "nothing_new"})
    ->Args({1, 50, 0})
    ->Args({5, 50, 0})
    ->Args({1, 200, 0})
    ->Args({5, 50, 1})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "ui_main_window_bench needs an X display: run it as xvfb-run -a %s\n", argv[0]);
    return 2;
  }
  platform::SetMessageBoxHandler([](const std::string& text, const std::string&) {
    std::fprintf(stderr, "message box: %s\n", text.c_str());
  });
  ui::SetDesktopOpener([](const std::string&) { return true; });
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;
  delete wxLog::SetActiveTarget(new wxLogStderr);
  ui::StartToolkit();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ui::StopToolkit();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
