#include "plugin/headless_runs.h"

#include "check/failing_notices.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "plugin/background_fetching.h"
#include "plugin/check_session.h"
#include "plugin/headless_texts.h"
#include "plugin/terminal_view.h"
#include "store/listed_feeds.h"
#include "store/settings_store.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <utility>

namespace tarnwick::plugin {
namespace {

// The listed feeds that are named, in list order; false (with the unknown name) when one is not there.
bool SelectFeeds(std::vector<store::FeedSettings>& feeds, const std::vector<std::string>& aliases,
                 std::string& unknown) {
  for (const std::string& alias : aliases) {
    auto same = [&](const store::FeedSettings& feed) { return platform::EqualsIgnoreCase(feed.alias, alias); };
    if (std::none_of(feeds.begin(), feeds.end(), same)) {
      unknown = alias;
      return false;
    }
  }
  std::erase_if(feeds, [&](const store::FeedSettings& feed) {
    return std::none_of(aliases.begin(), aliases.end(),
                        [&](const std::string& alias) { return platform::EqualsIgnoreCase(feed.alias, alias); });
  });
  return true;
}

int ExitCodeOf(const check::RunReport& report) {
  bool someFailed = std::any_of(report.feeds.begin(), report.feeds.end(), FeedFailed);
  return someFailed || report.stopped ? kRunSomeFailed : kRunAllChecked;
}

// Runs `body` with the main window counted as open, so that background ticks keep away. The flag
// goes back to what it was, also when `body` throws: a caller that holds it open (the Special-menu
// entry) keeps it, and a failed run never leaves the scheduler waiting for a window that is gone.
template <typename Body>
int WithMainWindowOpen(PluginContext& context, Body body) {
  struct Restore {
    PluginContext& context;
    bool wasOpen;
    ~Restore() { context.mainWindowOpen = wasOpen; }
  } restore{context, context.mainWindowOpen.exchange(true)};
  return body();
}

// The report without the failing feeds that a short report named less than a day ago, so that a
// run scheduled every few minutes names a feed that stays broken once a day, not every time.
check::RunReport WithoutRecentlyNamed(const std::string& settingsPath, check::RunReport report) {
  const std::vector<std::string> recent =
      check::FailingFeedsNamedRecently(store::SettingsStore(settingsPath), report, platform::SystemClock().Now());
  std::erase_if(report.feeds, [&](const check::FeedOutcome& feed) {
    return std::find(recent.begin(), recent.end(), feed.alias) != recent.end();
  });
  return report;
}

// Holds back the messages a run shows (what failed downloads said) until the run's report is
// known: a short report that names no failure shows none of them either. Shows them, or drops
// them, and puts the previous handler back, when it ends.
class HeldMessages {
public:
  HeldMessages()
      : previous_(platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption) {
          std::lock_guard guard(lock_);
          held_.emplace_back(text, caption);
        })) {}
  ~HeldMessages() {
    platform::SetMessageBoxHandler(std::move(previous_));
    if (!show_) return;
    for (const auto& [text, caption] : held_) platform::ShowMessageBox(text, caption);
  }
  HeldMessages(const HeldMessages&) = delete;
  HeldMessages& operator=(const HeldMessages&) = delete;

  void ShowWhenDone(bool show) { show_ = show; }

private:
  std::mutex lock_;
  std::vector<std::pair<std::string, std::string>> held_;
  bool show_ = true;
  platform::MessageBoxHandler previous_;  // last: the handler it replaces holds on to the others
};

bool IsSetUp(const PluginContext& context, std::FILE* out) {
  if (!context.settingsPath.empty()) return true;
  std::fprintf(out, "%s\n", kNotSetUpText);
  return false;
}

}  // namespace

std::vector<store::FeedSettings> ListedFeeds(const std::string& settingsPath) {
  std::vector<store::FeedSettings> feeds = store::ListedFeeds(store::SettingsStore(settingsPath));
  std::stable_sort(feeds.begin(), feeds.end(), [](const auto& a, const auto& b) {
    return platform::ToLowerAscii(a.alias) < platform::ToLowerAscii(b.alias);
  });
  return feeds;
}

int RunChecksHeadless(PluginContext& context, const std::vector<std::string>& aliases, const CheckOutput& output) {
  if (!IsSetUp(context, output.problems)) return kRunNotPossible;
  std::vector<store::FeedSettings> feeds = ListedFeeds(context.settingsPath);
  std::string unknown;
  if (!aliases.empty() && !SelectFeeds(feeds, aliases, unknown)) {
    const std::string text = platform::FillText(kUnknownAliasText, {unknown, context.settingsPath});
    std::fprintf(output.problems, "%s\n", text.c_str());
    return kRunNotPossible;
  }
  if (feeds.empty()) {
    std::fprintf(output.out, "%s\n", platform::FillText(kNoFeedsText, {context.settingsPath}).c_str());
    return kRunAllChecked;
  }
  return WithMainWindowOpen(context, [&] {
    TerminalView view(output.out, output.quiet ? TerminalView::Verbosity::kQuiet : TerminalView::Verbosity::kFull,
                      output.problems);
    std::optional<HeldMessages> messages;
    if (output.quiet) messages.emplace();
    CheckSession session(context, view, &view, false);
    const check::RunReport& report = session.Run().RunSelectedFeeds(feeds);
    if (!output.quiet) {
      view.PrintReport(report);
      return ExitCodeOf(report);
    }
    const check::RunReport shown = WithoutRecentlyNamed(context.settingsPath, report);
    messages->ShowWhenDone(std::any_of(shown.feeds.begin(), shown.feeds.end(), FeedFailed));
    messages.reset();
    view.PrintReport(shown);
    return ExitCodeOf(report);
  });
}

int RunTickHeadless(PluginContext& context, std::FILE* out) {
  if (!IsSetUp(context, out)) return kRunNotPossible;
  int downloads = RunBackgroundTickNow(context);
  std::fprintf(out, "Background check: %d feed%s fetched into the cache.\n", downloads, downloads == 1 ? "" : "s");
  return RunCacheCheckHeadless(context, out);
}

int RunCacheCheckHeadless(PluginContext& context, std::FILE* out) {
  if (!IsSetUp(context, out)) return kRunNotPossible;
  return WithMainWindowOpen(context, [&] {
    TerminalView view(out);
    CheckSession session(context, view, &view, false);
    const check::RunReport& report = session.Run().RunCachedFeeds();
    view.PrintReport(report);
    return ExitCodeOf(report);
  });
}

}  // namespace tarnwick::plugin
