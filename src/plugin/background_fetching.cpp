#include "plugin/background_fetching.h"

#include "check/auto_check_scheduler.h"
#include "feed/download_worker.h"
#include "platform/clock.h"
#include "platform/library_pin.h"

#include <memory>

namespace tarnwick::plugin {
namespace {

// The scheduler with what it runs on. Created on start, destroyed on stop, so that no thread of
// it outlives the module; a host that unloads the module without finishing it has it destroyed
// with the module's other statics, which stops it all the same, or, where an unloading module
// cannot wait for its threads, the module stays loaded until it is finished or the process ends.
// Downloads still running are cut off rather than waited for: the host is leaving, and a slow
// server must not hold it.
struct BackgroundFetching {
  ~BackgroundFetching() {
    if (scheduler) scheduler->Stop();
    workers.CancelAll();
  }

  platform::ModuleSelfHold hold;  // released last, once every thread has ended
  platform::SystemClock clock;
  feed::DownloadWorkerSet workers;
  std::unique_ptr<check::AutoCheckScheduler> scheduler;
};

std::unique_ptr<BackgroundFetching>& Instance() {
  static std::unique_ptr<BackgroundFetching> instance;
  return instance;
}

check::AutoCheckScheduler::Settings SchedulerSettings(const PluginContext& context) {
  return {context.hostDataFolder, context.settingsPath};
}

}  // namespace

void StartBackgroundFetching(PluginContext& context, std::chrono::milliseconds period) {
  if (context.schedulerRunning || context.hostApiVersion <= 3) return;
  auto fetching = std::make_unique<BackgroundFetching>();
  check::AutoCheckScheduler::Settings settings = SchedulerSettings(context);
  settings.period = period;
  fetching->scheduler = std::make_unique<check::AutoCheckScheduler>(std::move(settings), context.mainWindowOpen,
                                                                    fetching->clock, fetching->workers);
  if (!fetching->scheduler->Start()) return;
  Instance() = std::move(fetching);
  context.schedulerRunning = true;
}

void StopBackgroundFetching(PluginContext& context) {
  Instance().reset();
  context.schedulerRunning = false;
}

int RunBackgroundTickNow(PluginContext& context) {
  platform::SystemClock clock;
  feed::DownloadWorkerSet workers;
  check::AutoCheckScheduler scheduler(SchedulerSettings(context), context.mainWindowOpen, clock, workers);
  int started = scheduler.Tick();
  workers.WaitForAll();
  return started;
}

}  // namespace tarnwick::plugin
