#include "check/document_prefetcher.h"

#include "feed/download_stop_scope.h"
#include "platform/application_name.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/ui_pump.h"
#include "store/settings_store.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <utility>

namespace tarnwick::check {
namespace {

// How often the wait for a document comes round to handle the thread's events (a Stop button).
constexpr std::chrono::milliseconds kEventInterval{50};

constexpr char kPrefetchSuffix[] = ".prefetch-";

// The host name of a feed address, lower case: what comes after the scheme (http when there is
// none) up to the path, without user and port. Addresses that have none (files) share "".
std::string HostNameOf(const std::string& url) {
  std::string::size_type scheme = url.find("://");
  std::string::size_type start = scheme == std::string::npos ? 0 : scheme + 3;
  std::string::size_type end = url.find_first_of("/?#", start);
  std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
  std::string::size_type at = authority.rfind('@');
  if (at != std::string::npos) authority.erase(0, at + 1);
  // A bracketed IPv6 address holds colons of its own; the port follows its closing bracket.
  std::string::size_type port =
      authority.find(':', authority.rfind(']') == std::string::npos ? 0 : authority.rfind(']'));
  if (port != std::string::npos) authority.erase(port);
  std::transform(authority.begin(), authority.end(), authority.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return authority;
}

bool Complete(const store::FeedSettings& feed) {
  return !feed.alias.empty() && !feed.name.empty() && !feed.url.empty();
}

}  // namespace

DocumentPrefetcher::DocumentPrefetcher(const std::vector<store::FeedSettings>& feeds, const std::string& scratchPath,
                                       const std::string& settingsPath, std::stop_token stop, PrefetchLimits limits)
    : limits_(limits), runStop_(std::move(stop), std::function<void()>([this] { stopSource_.request_stop(); })) {
  const store::SettingsStore settings(settingsPath);
  jobs_.reserve(feeds.size());
  for (std::size_t index = 0; index < feeds.size(); ++index) {
    Job job;
    job.feed = feeds[index];
    job.host = HostNameOf(job.feed.url);
    job.documentPath = scratchPath + kPrefetchSuffix + std::to_string(index);
    if (!Complete(job.feed)) job.state = State::kTaken;  // never checked, so never fetched
    jobs_.push_back(std::move(job));
  }
  // The validators are read when the run starts: a feed's are rewritten only by its own check.
  for (Job& job : jobs_) {
    if (job.state == State::kWaiting) job.conditional = feed::ReadFeedValidators(settings, job.feed.alias);
  }
  std::lock_guard guard(lock_);
  StartReady();
}

DocumentPrefetcher::~DocumentPrefetcher() {
  stopSource_.request_stop();
  {
    // From here no thread starts another, so the threads below can be joined without the lock.
    std::lock_guard guard(lock_);
    closing_ = true;
  }
  for (Job& job : jobs_) {
    if (job.thread.joinable()) job.thread.join();
  }
  for (const Job& job : jobs_) platform::RemoveFile(job.documentPath);
}

void DocumentPrefetcher::StartReady() {
  if (closing_ || stopSource_.stop_requested()) return;
  const std::size_t end = std::min(jobs_.size(), current_ + 1 + limits_.ahead);
  for (std::size_t index = current_; index < end && running_ < limits_.inFlight; ++index) {
    Job& job = jobs_[index];
    if (job.state != State::kWaiting) continue;
    if (runningPerHost_[job.host] >= limits_.perHost) continue;
    try {
      job.thread = std::thread([this, index] { Download(index); });
    } catch (const std::system_error&) {
      return;  // Take fetches it on its own thread then
    }
    job.state = State::kRunning;
    ++running_;
    ++runningPerHost_[job.host];
  }
}

void DocumentPrefetcher::Download(std::size_t index) {
  feed::FetchResult result;
  // Nothing may escape a thread's entry function; a failure here is a download that failed.
  try {
    const feed::DownloadStopScope stoppable(stopSource_.get_token());
    const Job& job = jobs_[index];
    result = feed::FetchDocument(job.feed.url, job.documentPath, feed::UrlOrigin::kTypedByUser, job.conditional);
  } catch (...) {
    result = {};
  }
  std::lock_guard guard(lock_);
  jobs_[index].result = std::move(result);
  jobs_[index].state = State::kDone;
  --running_;
  --runningPerHost_[jobs_[index].host];
  StartReady();
  done_.notify_all();
}

feed::FetchResult DocumentPrefetcher::Take(std::size_t index, const std::string& path) {
  feed::RemoveBeforeFetch(path);
  std::unique_lock guard(lock_);
  current_ = index;
  StartReady();
  Job& job = jobs_.at(index);
  if (job.state == State::kWaiting || job.state == State::kTaken) {
    // Not started (no thread could be had) or asked for twice: fetched here, as without prefetching.
    job.state = State::kTaken;
    guard.unlock();
    const feed::DownloadStopScope stoppable(stopSource_.get_token());
    return feed::FreshFetch(job.feed.url, path, feed::UrlOrigin::kTypedByUser, job.conditional);
  }
  while (job.state != State::kDone) {
    done_.wait_for(guard, kEventInterval);
    guard.unlock();
    platform::DrainMessages();
    guard.lock();
  }
  job.state = State::kTaken;
  feed::FetchResult result = std::move(job.result);
  guard.unlock();
  // The thread has ended or is about to: joined now, so a long run does not keep them all.
  if (job.thread.joinable()) job.thread.join();
  // Without a document (not modified, failed) there is nothing to move, and the check sees none.
  platform::RenameReplacing(job.documentPath, path);
  if (!result.errorText.empty()) platform::ShowMessageBox(result.errorText, platform::kApplicationName);
  return result;
}

}  // namespace tarnwick::check
