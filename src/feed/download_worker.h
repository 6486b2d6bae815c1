#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "feed/document_validators.h"
#include "feed/server_answer.h"

namespace tarnwick::feed {

/// One background download: where the document goes and where it comes from (a feed address
/// the user configured, so http, https and file URLs are allowed), and the validators of the
/// version the program already has, which make the download conditional. `answered`, when set,
/// is told what the server said once the download has ended (not when it was stopped), with
/// whether it worked (a document, or "not modified"), on the worker's thread.
struct DownloadRequest {
  std::string localPath;
  std::string url;
  DocumentValidators validators{};
  std::function<void(const ServerAnswer& answer, bool fetched)> answered{};
};

/// How a background download ended: `message` is kAllDataDownloaded on success, otherwise the
/// reason (at most 255 characters).
struct [[nodiscard]] DownloadReport {
  bool ok = false;
  std::string message;
};

/// Does one request as a worker does, on the calling thread: the fresh fetch of the URL into the
/// path, and on failure one message box with the reason (the application's name as caption). A
/// download stopped through a DownloadStopScope reports kDownloadStopped and shows nothing. The
/// validators the document came with are kept beside it (SaveValidatorsBeside); an answer of
/// "not modified" leaves the path as it was and reports kNotModified.
DownloadReport HandleDownloadRequest(const DownloadRequest& request);

/// The sender's end of a started worker thread, which waits for its one request, handles it with
/// HandleDownloadRequest and ends. Dropping the handle without posting lets the thread end idle.
class DownloadWorker {
public:
  /// Closes the queue: a worker that has no request by then ends without downloading.
  ~DownloadWorker();
  DownloadWorker(const DownloadWorker&) = delete;
  DownloadWorker& operator=(const DownloadWorker&) = delete;

  /// Hands the worker its request, which belongs to the worker from then on. False (and the
  /// request dropped) when this worker already got one.
  bool Post(std::unique_ptr<DownloadRequest> request);

private:
  struct Queue;  // the one-request queue the thread waits on
  friend class DownloadWorkerSet;
  explicit DownloadWorker(std::shared_ptr<Queue> queue);
  std::shared_ptr<Queue> queue_;
};

/// Starts download workers and keeps their threads until they are joined, so no thread outlives
/// the set; CancelAll ends them all at once. Every member may be called from any thread.
class DownloadWorkerSet {
public:
  DownloadWorkerSet() = default;
  /// Waits for every worker (see WaitForAll).
  ~DownloadWorkerSet();
  DownloadWorkerSet(const DownloadWorkerSet&) = delete;
  DownloadWorkerSet& operator=(const DownloadWorkerSet&) = delete;

  /// Starts a worker thread waiting for its request; null when the system cannot start a thread.
  /// Workers that have ended are joined on the way.
  std::unique_ptr<DownloadWorker> StartWorker();
  /// Starts a worker and posts it the request at once; false when no thread could be started.
  bool StartDownload(DownloadRequest request);
  /// Blocks until every worker started before the call has ended. A worker whose handle is still
  /// held without a request keeps it waiting: post the request or drop the handle first.
  void WaitForAll();
  /// Stops the download of every worker started before the call at once (each removes its
  /// partial file and shows nothing; a worker still waiting for its request ends idle) and
  /// blocks until they have ended. Workers started later are not affected.
  void CancelAll();
  /// The number of workers started and not yet ended.
  std::size_t RunningCount() const;
  /// Whether a worker that has not ended was given a request to download into `localPath`.
  bool IsDownloadingTo(const std::string& localPath) const;

private:
  struct Running {
    std::thread thread;
    std::shared_ptr<DownloadWorker::Queue> queue;
  };
  mutable std::mutex lock_;
  std::vector<Running> workers_;
  std::stop_source stop_;  // the stop that CancelAll requests for the workers started until then
};

}  // namespace tarnwick::feed
