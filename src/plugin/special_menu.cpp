#include "plugin/special_menu.h"

#include "automation/host_automation.h"
#include "platform/application_name.h"
#include "platform/message_box.h"
#include "plugin/headless_runs.h"
#include "store/folder_scanner.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace tarnwick::plugin {
namespace {

constexpr int16_t kFirstServedInterfaceVersion = 4;
constexpr char kCacheFolderName[] = "/Feeds";
constexpr char kCacheFileMask[] = "*.rss";

struct Seams {
  std::mutex lock;
  MainWindowRunner runner;
  HostErrorReporter reporter;
};

Seams& InstalledSeams() {
  static Seams seams;
  return seams;
}

void RunMainWindow(PluginContext& context, MainWindowMode mode) {
  MainWindowRunner runner;
  {
    std::lock_guard guard(InstalledSeams().lock);
    runner = InstalledSeams().runner;
  }
  if (runner) {
    runner(context, mode);
  } else if (mode == MainWindowMode::kCache) {
    // The same delivery the cache-mode window makes, with its report on the terminal.
    (void)RunCacheCheckHeadless(context, stdout);
  }
  // Headless, the normal main window has nothing to show: the user's work there (feeds, checks)
  // is reached through the host's command line instead.
}

void ReportHostError(std::string errorText) {
  if (errorText.size() > kMaxHostErrorTextLength) errorText.resize(kMaxHostErrorTextLength);
  HostErrorReporter reporter;
  {
    std::lock_guard guard(InstalledSeams().lock);
    reporter = InstalledSeams().reporter;
  }
  if (reporter) {
    reporter(errorText);
  } else {
    platform::ShowMessageBox(errorText, platform::kApplicationName);
  }
}

// Holds `mainWindowOpen` set for its lifetime, so every way out of the entry clears it.
class MainWindowOpenFlag {
public:
  explicit MainWindowOpenFlag(PluginContext& context) : context_(context) { context_.mainWindowOpen = true; }
  ~MainWindowOpenFlag() { context_.mainWindowOpen = false; }
  MainWindowOpenFlag(const MainWindowOpenFlag&) = delete;
  MainWindowOpenFlag& operator=(const MainWindowOpenFlag&) = delete;

private:
  PluginContext& context_;
};

}  // namespace

MainWindowRunner SetMainWindowRunner(MainWindowRunner runner) {
  std::lock_guard guard(InstalledSeams().lock);
  return std::exchange(InstalledSeams().runner, std::move(runner));
}

HostErrorReporter SetHostErrorReporter(HostErrorReporter reporter) {
  std::lock_guard guard(InstalledSeams().lock);
  return std::exchange(InstalledSeams().reporter, std::move(reporter));
}

bool HasCachedFeeds(const std::string& hostDataFolder) {
  if (hostDataFolder.empty()) return false;
  store::FolderScanner scanner;
  return scanner.Scan(hostDataFolder + kCacheFolderName, kCacheFileMask, true, store::kScanUnsorted, false) > 0;
}

int32_t RunSpecialMenuEntry(PluginContext& context, const EmsMenu* menu) {
  if (menu == nullptr) return platform::kEmsNoEntry;
  if (menu->id != 1) return platform::kEmsSuccess;
  MainWindowOpenFlag open(context);
  if (context.hostApiVersion < kFirstServedInterfaceVersion) return platform::kEmsHostCannotServe;

  std::string errorText;
  if (!automation::HostAutomation().SetStatusText(kSpecialMenuStatusText, &errorText)) {
    ReportHostError(errorText);
    return platform::kEmsHostCannotServe;
  }
  if (HasCachedFeeds(context.hostDataFolder)) RunMainWindow(context, MainWindowMode::kCache);
  // The window reports its run itself when it closes.
  RunMainWindow(context, MainWindowMode::kNormal);
  return platform::kEmsSuccess;
}

}  // namespace tarnwick::plugin
