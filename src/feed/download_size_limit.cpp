#include "feed/download_size_limit.h"

namespace tarnwick::feed {
namespace {

// Initial-exec for the reason DownloadStopScope gives: the module is loaded and unloaded at run time.
thread_local const DownloadSizeLimit* innermost __attribute__((tls_model("initial-exec"))) = nullptr;

}  // namespace

DownloadSizeLimit::DownloadSizeLimit(size_t maxBytes) : maxBytes_(maxBytes), outer_(innermost) {
  innermost = this;
}

DownloadSizeLimit::~DownloadSizeLimit() {
  innermost = outer_;
}

size_t DownloadSizeLimit::Current() {
  return innermost == nullptr ? 0 : innermost->maxBytes_;
}

}  // namespace tarnwick::feed
