#include "feed/download_connections.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/ui_pump.h"

namespace tarnwick::feed {
namespace {

// How long one wait for the network lasts inside a stop scope before the stop and the thread's
// events are looked at again, and outside one (where only libcurl's own timers need the loop).
constexpr int kStoppableWaitMilliseconds = 50;
constexpr int kQuietWaitMilliseconds = 1000;
// Idle connections kept open for reuse, over all hosts.
constexpr long kKeptConnections = 32;

// The multi interface has its own failure codes; they are told to the user as the nearest
// transfer failure.
CURLcode TransferCodeOf(CURLMcode code) {
  return code == CURLM_OUT_OF_MEMORY ? CURLE_OUT_OF_MEMORY : CURLE_RECV_ERROR;
}

// The process's one multi handle and the transfers in it. Only the thread that holds the driver's
// place calls into the multi handle (other than curl_multi_wakeup); it gives the place up after
// every round, so a thread whose own transfer has ended leaves, and an event handler that starts
// a download on a thread that is between two rounds can drive as well.
class SharedMulti {
public:
  SharedMulti() = default;
  ~SharedMulti() { Close(); }
  SharedMulti(const SharedMulti&) = delete;
  SharedMulti& operator=(const SharedMulti&) = delete;

  CURLcode Run(CURL* easy, const std::stop_token* stop, bool& stopped);
  // Closes the multi handle and its connections, unless a transfer is in it.
  void Close();

private:
  struct Transfer {
    bool done = false;
    bool removing = false;
    CURLcode result = CURLE_OK;
  };
  using Ended = std::vector<std::pair<CURL*, CURLcode>>;

  bool Ready();  // with lock_ held
  void DriveRound(int waitMilliseconds);
  void Remove(const std::vector<CURL*>& removals, std::vector<CURL*>& additions, Ended& ended);
  void Perform(Ended& ended);
  void Record(const Ended& ended);

  std::mutex lock_;
  std::condition_variable roundEnded_;
  CURLM* multi_ = nullptr;
  bool driving_ = false;
  std::map<CURL*, Transfer> transfers_;
  std::vector<CURL*> toAdd_;
  std::vector<CURL*> toRemove_;
  std::vector<CURL*> active_;  // in the multi handle; the driver's alone
};

bool SharedMulti::Ready() {
  if (multi_ != nullptr) return true;
  multi_ = curl_multi_init();
  if (multi_ == nullptr) return false;
  curl_multi_setopt(multi_, CURLMOPT_MAXCONNECTS, kKeptConnections);
  return true;
}

void SharedMulti::Close() {
  std::lock_guard guard(lock_);
  if (multi_ == nullptr || driving_ || !transfers_.empty()) return;
  curl_multi_cleanup(std::exchange(multi_, nullptr));
}

CURLcode SharedMulti::Run(CURL* easy, const std::stop_token* stop, bool& stopped) {
  const int waitMilliseconds = stop != nullptr ? kStoppableWaitMilliseconds : kQuietWaitMilliseconds;
  std::unique_lock guard(lock_);
  if (!Ready()) return CURLE_OUT_OF_MEMORY;
  Transfer& mine = transfers_[easy];
  toAdd_.push_back(easy);
  curl_multi_wakeup(multi_);
  while (!mine.done) {
    if (stop != nullptr && stop->stop_requested() && !mine.removing) {
      stopped = mine.removing = true;
      toRemove_.push_back(easy);
      curl_multi_wakeup(multi_);
    }
    if (!driving_) {
      driving_ = true;
      guard.unlock();
      DriveRound(waitMilliseconds);
      guard.lock();
      driving_ = false;
      roundEnded_.notify_all();
    } else {
      roundEnded_.wait_for(guard, std::chrono::milliseconds(waitMilliseconds));
    }
    if (stop != nullptr && !mine.done) {
      guard.unlock();
      platform::DrainMessages();
      guard.lock();
    }
  }
  const CURLcode result = mine.result;
  transfers_.erase(easy);
  return result;
}

// One round: the transfers asked for since the last one join or leave the multi handle, it
// performs, and when none ended it waits for the network (or a wake-up) for at most the time
// given.
void SharedMulti::DriveRound(int waitMilliseconds) {
  std::vector<CURL*> additions;
  std::vector<CURL*> removals;
  {
    std::lock_guard guard(lock_);
    additions.swap(toAdd_);
    removals.swap(toRemove_);
  }
  Ended ended;
  Remove(removals, additions, ended);
  for (CURL* easy : additions) {
    const CURLMcode code = curl_multi_add_handle(multi_, easy);
    if (code == CURLM_OK) {
      active_.push_back(easy);
    } else {
      ended.emplace_back(easy, TransferCodeOf(code));
    }
  }
  Perform(ended);
  if (ended.empty() && !active_.empty()) curl_multi_poll(multi_, nullptr, 0, waitMilliseconds, nullptr);
  Record(ended);
}

// Takes stopped transfers out. One taken out before its answer was read to the end has its
// connection closed by libcurl, so no later download can read the rest of that answer.
void SharedMulti::Remove(const std::vector<CURL*>& removals, std::vector<CURL*>& additions, Ended& ended) {
  for (CURL* easy : removals) {
    if (auto waiting = std::find(additions.begin(), additions.end(), easy); waiting != additions.end()) {
      additions.erase(waiting);
    } else {
      curl_multi_remove_handle(multi_, easy);
      active_.erase(std::find(active_.begin(), active_.end(), easy));
    }
    ended.emplace_back(easy, CURLE_ABORTED_BY_CALLBACK);
  }
}

void SharedMulti::Perform(Ended& ended) {
  int running = 0;
  const CURLMcode code = curl_multi_perform(multi_, &running);
  if (code != CURLM_OK) {
    // The multi handle itself failed: every transfer in it fails with it.
    for (CURL* easy : active_) {
      curl_multi_remove_handle(multi_, easy);
      ended.emplace_back(easy, TransferCodeOf(code));
    }
    active_.clear();
    return;
  }
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
    if (message->msg != CURLMSG_DONE) continue;
    CURL* easy = message->easy_handle;
    const CURLcode result = message->data.result;
    curl_multi_remove_handle(multi_, easy);
    active_.erase(std::find(active_.begin(), active_.end(), easy));
    ended.emplace_back(easy, result);
  }
}

// Tells the waiting threads which of their transfers ended; a stop asked for meanwhile is moot.
void SharedMulti::Record(const Ended& ended) {
  std::lock_guard guard(lock_);
  for (const auto& [easy, result] : ended) {
    Transfer& transfer = transfers_[easy];
    transfer.done = true;
    transfer.result = result;
    std::erase(toRemove_, easy);
  }
}

// libcurl asks for one lock per kind of shared data.
std::array<std::mutex, CURL_LOCK_DATA_LAST>& ShareLocks() {
  static std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
  return locks;
}

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*) {
  ShareLocks()[data].lock();
}

void UnlockShare(CURL*, curl_lock_data data, void*) {
  ShareLocks()[data].unlock();
}

SharedMulti& TheSharedMulti() {
  static SharedMulti multi;
  return multi;
}

// The share object, made on first use and again after CloseSharedConnections.
struct Share {
  ~Share() {
    if (handle != nullptr) curl_share_cleanup(handle);
  }

  std::mutex lock;
  CURLSH* handle = nullptr;
};

Share& TheShare() {
  static Share share;
  return share;
}

CURLSH* MakeShare() {
  CURLSH* made = curl_share_init();
  if (made == nullptr) return made;
  curl_share_setopt(made, CURLSHOPT_LOCKFUNC, &LockShare);
  curl_share_setopt(made, CURLSHOPT_UNLOCKFUNC, &UnlockShare);
  curl_share_setopt(made, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  curl_share_setopt(made, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  return made;
}

}  // namespace

CURLcode RunSharedTransfer(CURL* easy, const std::stop_token* stop, bool& stopped) {
  return TheSharedMulti().Run(easy, stop, stopped);
}

CURLSH* DownloadShare() {
  Share& share = TheShare();
  std::lock_guard guard(share.lock);
  if (share.handle == nullptr) share.handle = MakeShare();
  return share.handle;
}

void CloseSharedConnections() {
  TheSharedMulti().Close();
  Share& share = TheShare();
  std::lock_guard guard(share.lock);
  // A share that a transfer's handle still holds stays (libcurl refuses to clean it up).
  if (share.handle != nullptr && curl_share_cleanup(share.handle) == CURLSHE_OK) share.handle = nullptr;
}

}  // namespace tarnwick::feed
