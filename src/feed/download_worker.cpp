#include "feed/download_worker.h"

#include <condition_variable>
#include <exception>
#include <system_error>
#include <utility>

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
  std::condition_variable changed;
  std::unique_ptr<DownloadRequest> request;
  bool posted = false;
  bool closed = false;

  // The request, or null when the sender let go without posting one.
  std::unique_ptr<DownloadRequest> Take() {
    std::unique_lock guard(lock);
    changed.wait(guard, [this] { return request != nullptr || closed; });
    return std::move(request);
  }
};

DownloadReport HandleDownloadRequest(const DownloadRequest& request) {
  std::string path = request.localPath;
  std::string url = request.url;
  TransferOutcome outcome = TransferUrlToFile(url, path, UrlOrigin::kTypedByUser, CacheUse::kRevalidate);
  if (outcome.ok) return {true, kAllDataDownloaded};
  DownloadReport report{false, CutMessage(std::move(outcome.errorText))};
  platform::ShowMessageBox(report.message, platform::kApplicationName);
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
  queue_->request = std::move(request);
  queue_->changed.notify_one();
  return true;
}

DownloadWorkerSet::~DownloadWorkerSet() {
  WaitForAll();
}

std::unique_ptr<DownloadWorker> DownloadWorkerSet::StartWorker() {
  auto queue = std::make_shared<DownloadWorker::Queue>();
  auto finished = std::make_shared<std::atomic<bool>>(false);
  std::thread thread;
  try {
    thread = std::thread([queue, finished] {
      // Nothing may escape a thread's entry function: an escaping exception ends the process.
      try {
        if (std::unique_ptr<DownloadRequest> request = queue->Take()) (void)HandleDownloadRequest(*request);
      } catch (...) {
      }
      finished->store(true);
    });
  } catch (const std::system_error&) {
    return nullptr;
  }
  std::vector<Running> ended;
  {
    std::lock_guard guard(lock_);
    for (auto it = workers_.begin(); it != workers_.end();) {
      if (it->finished->load()) {
        ended.push_back(std::move(*it));
        it = workers_.erase(it);
      } else {
        ++it;
      }
    }
    workers_.push_back({std::move(thread), finished});
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

std::size_t DownloadWorkerSet::RunningCount() const {
  std::lock_guard guard(lock_);
  std::size_t running = 0;
  for (const Running& worker : workers_) running += worker.finished->load() ? 0 : 1;
  return running;
}

}  // namespace tarnwick::feed
