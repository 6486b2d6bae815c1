#include "feed/download_stop_scope.h"

#include <utility>

namespace tarnwick::feed {
namespace {

// Initial-exec: the module is loaded and unloaded at run time, and a pointer needs no block of
// dynamic thread storage that would outlive the module in the threads that touched it.
thread_local const DownloadStopScope* innermost __attribute__((tls_model("initial-exec"))) = nullptr;

}  // namespace

DownloadStopScope::DownloadStopScope(std::stop_token stop) : stop_(std::move(stop)), outer_(innermost) {
  innermost = this;
}

DownloadStopScope::~DownloadStopScope() {
  innermost = outer_;
}

const std::stop_token* DownloadStopScope::Current() {
  return innermost == nullptr ? nullptr : &innermost->stop_;
}

}  // namespace tarnwick::feed
