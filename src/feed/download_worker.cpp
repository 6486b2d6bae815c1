#include "feed/download_worker.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <system_error>
#include <utility>

#include "feed/download_stop_scope.h"
#include "feed/download_texts.h"
#include "feed/download_transfer.h"
#include "platform/application_name.h"
#include "platform/message_box.h"

namespace tarnwick::feed {
namespace {

constexpr std::size_t kLongestMessage = 255;

// Cuts at a character boundary so a long path in the message is not left with half a UTF-8 sequence.
std::string CutMessage(std::string text) {
  if (text.size() <= kLongestMessage) return text;
  std::size_t end = kLongestMessage;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

}  // namespace

struct DownloadWorker::Queue {
  std::mutex lock;
  std::condition_variable_any changed;
  std::unique_ptr<DownloadRequest> request;
  std::string target;  // the posted request's local path, kept after the worker has taken the request
  bool posted = false;
  bool closed = false;
  std::atomic<bool> finished{false};

  // The request, or null when the sender let go without posting one or the worker was stopped
  // first; the queue takes no request after that.
  std::unique_ptr<DownloadRequest> Take(const std::stop_token& stop) {
    std::unique_lock guard(lock);
    changed.wait(guard, stop, [this] { return request != nullptr || closed; });
    closed = true;
    return std::move(request);
  }

  bool IsDownloadingTo(const std::string& path) {
    std::lock_guard guard(lock);
    return posted && target == path && !finished.load();
  }
};

DownloadReport HandleDownloadRequest(const DownloadRequest& request) {
  std::string path = request.localPath;
  std::string url = request.url;
  TransferOutcome outcome =
      TransferUrlToFile(url, path, UrlOrigin::kTypedByUser, CacheUse::kRevalidate, request.validators);
  if (!outcome.stopped && request.answered) request.answered(outcome.answer, outcome.ok || outcome.notModified);
  if (outcome.notModified) return {true, kNotModified};
  if (outcome.ok) {
    // Without its validators the document is still good: it is only fetched whole next time.
    (void)SaveValidatorsBeside(path, outcome.validators);
    return {true, kAllDataDownloaded};
  }
  DownloadReport report{false, CutMessage(std::move(outcome.errorText))};
  if (!outcome.stopped) platform::ShowMessageBox(report.message, platform::kApplicationName);
  return report;
}

DownloadWorker::DownloadWorker(std::shared_ptr<Queue> queue) : queue_(std::move(queue)) {}

DownloadWorker::~DownloadWorker() {
  std::lock_guard guard(queue_->lock);
  queue_->closed = true;
  queue_->changed.notify_one();
}

bool DownloadWorker::Post(std::unique_ptr<DownloadRequest> request) {
  std::lock_guard guard(queue_->lock);
  if (queue_->posted || queue_->closed || !request) return false;
  queue_->posted = true;
  queue_->target = request->localPath;
  queue_->request = std::move(request);
  queue_->changed.notify_one();
  return true;
}

DownloadWorkerSet::~DownloadWorkerSet() {
  WaitForAll();
}

std::unique_ptr<DownloadWorker> DownloadWorkerSet::StartWorker() {
  auto queue = std::make_shared<DownloadWorker::Queue>();
  std::stop_token stop;
  {
    std::lock_guard guard(lock_);
    stop = stop_.get_token();
  }
  std::thread thread;
  try {
    thread = std::thread([queue, stop] {
      // Nothing may escape a thread's entry function: an escaping exception ends the process.
      try {
        if (std::unique_ptr<DownloadRequest> request = queue->Take(stop)) {
          DownloadStopScope stoppable(stop);
          (void)HandleDownloadRequest(*request);
        }
      } catch (...) {
      }
      queue->finished.store(true);
    });
  } catch (const std::system_error&) {
    return nullptr;
  }
  std::vector<Running> ended;
  {
    std::lock_guard guard(lock_);
    for (auto it = workers_.begin(); it != workers_.end();) {
      if (it->queue->finished.load()) {
        ended.push_back(std::move(*it));
        it = workers_.erase(it);
      } else {
        ++it;
      }
    }
    workers_.push_back({std::move(thread), queue});
  }
  for (Running& worker : ended) worker.thread.join();
  return std::unique_ptr<DownloadWorker>(new DownloadWorker(std::move(queue)));
}

bool DownloadWorkerSet::StartDownload(DownloadRequest request) {
  std::unique_ptr<DownloadWorker> worker = StartWorker();
  return worker && worker->Post(std::make_unique<DownloadRequest>(std::move(request)));
}

void DownloadWorkerSet::WaitForAll() {
  std::vector<Running> started;
  {
    std::lock_guard guard(lock_);
    started.swap(workers_);
  }
  // Joined outside the lock, so other threads may go on starting workers meanwhile.
  for (Running& worker : started) worker.thread.join();
}

void DownloadWorkerSet::CancelAll() {
  std::vector<Running> started;
  std::stop_source stopping;
  {
    std::lock_guard guard(lock_);
    started.swap(workers_);
    stopping = std::exchange(stop_, std::stop_source());
  }
  stopping.request_stop();
  for (Running& worker : started) worker.thread.join();
}

std::size_t DownloadWorkerSet::RunningCount() const {
  std::lock_guard guard(lock_);
  std::size_t running = 0;
  for (const Running& worker : workers_) running += worker.queue->finished.load() ? 0 : 1;
  return running;
}

bool DownloadWorkerSet::IsDownloadingTo(const std::string& localPath) const {
  std::lock_guard guard(lock_);
  for (const Running& worker : workers_) {
    if (worker.queue->IsDownloadingTo(localPath)) return true;
  }
  return false;
}

}  // namespace tarnwick::feed
