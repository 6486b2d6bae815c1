#include "feed/download.h"

#include "feed/download_transfer.h"
#include "platform/application_name.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
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

FetchResult FetchDocument(const std::string& url, const std::string& path, UrlOrigin origin,
                          const DocumentValidators& conditional) {
  TransferOutcome outcome = TransferUrlToFile(url, path, origin, CacheUse::kAllowCached, conditional);
  // An answer of "not modified" is final: asking the origin server again would only repeat it.
  // So is a server's request to be left alone, or its word that the document is gone.
  const bool final = outcome.answer.AsksToWait() || outcome.answer.Gone();
  if (!outcome.ok && !outcome.notModified && !outcome.stopped && !final) {
    outcome = TransferUrlToFile(url, path, origin, CacheUse::kRevalidate, conditional);
  }
  return {outcome.notModified, outcome.stopped, outcome.ok || outcome.stopped ? std::string() : outcome.errorText,
          std::move(outcome.validators), std::move(outcome.answer)};
}

void RemoveBeforeFetch(const std::string& path) {
  if (store::FileExists(path)) (void)platform::RemoveFile(path);
}

FetchResult FreshFetch(const std::string& url, const std::string& path, UrlOrigin origin,
                       const DocumentValidators& conditional) {
  RemoveBeforeFetch(path);
  FetchResult result = FetchDocument(url, path, origin, conditional);
  if (!result.errorText.empty()) platform::ShowMessageBox(result.errorText, platform::kApplicationName);
  return result;
}

}  // namespace tarnwick::feed
