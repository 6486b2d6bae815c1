#include "feed/download.h"

#include <unistd.h>

#include "feed/download_transfer.h"
#include "platform/application_name.h"
#include "platform/message_box.h"
#include "platform/wait.h"
#include "store/file_utilities.h"

namespace tarnwick::feed {

void DownloadUrlToFile(const std::string& url, const std::string& path, UrlOrigin origin) {
  // Its failures are silent on purpose: the fresh fetch that follows it reports them.
  (void)TransferUrlToFile(url, path, origin, CacheUse::kAllowCached);
}

bool FetchUrlToFile(const std::string& url, const std::string& path, UrlOrigin origin) {
  TransferOutcome outcome = TransferUrlToFile(url, path, origin, CacheUse::kRevalidate);
  // A stop was asked for by the user (or the module's end): it is no failure to tell about.
  if (!outcome.ok && !outcome.stopped) platform::ShowMessageBox(outcome.errorText, platform::kApplicationName);
  return outcome.ok;
}

void FreshFetch(const std::string& url, const std::string& path, bool pause, UrlOrigin origin) {
  if (store::FileExists(path) && unlink(path.c_str()) == 0 && pause) platform::WaitMilliseconds(100);
  DownloadUrlToFile(url, path, origin);
  if (!store::FileExists(path)) FetchUrlToFile(url, path, origin);
}

}  // namespace tarnwick::feed
