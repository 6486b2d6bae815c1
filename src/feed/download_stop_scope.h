#pragma once

#include <stop_token>

namespace tarnwick::feed {

/// Makes the downloads that the creating thread starts while the scope lives stoppable: once
/// `stop` is requested, a transfer in flight ends at once as a stopped download (its partial
/// file removed, no message shown) and later ones end before they connect. While such a
/// download waits for the network, the thread's waiting user-interface events are handled, so
/// that the Stop button that requests the stop stays live. Scopes nest, the innermost applying;
/// create and destroy one on the same thread. Downloads outside any scope cannot be stopped.
class DownloadStopScope {
public:
  explicit DownloadStopScope(std::stop_token stop);
  ~DownloadStopScope();
  DownloadStopScope(const DownloadStopScope&) = delete;
  DownloadStopScope& operator=(const DownloadStopScope&) = delete;

  /// The stop of the calling thread's innermost scope, or null outside any scope.
  static const std::stop_token* Current();

private:
  std::stop_token stop_;
  const DownloadStopScope* outer_;
};

}  // namespace tarnwick::feed
