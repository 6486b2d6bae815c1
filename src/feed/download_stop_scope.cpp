#include "feed/download_stop_scope.h"

#include <utility>

namespace tarnwick::feed {
namespace {

thread_local const DownloadStopScope* innermost = nullptr;

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
