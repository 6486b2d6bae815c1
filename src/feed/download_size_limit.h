#pragma once

#include <cstddef>

namespace tarnwick::feed {

/// Bounds the bodies of the downloads that the creating thread starts while the scope lives: a
/// transfer whose body grows past `maxBytes` ends as a failed download (its partial file removed)
/// with a message that says so. Scopes nest, the innermost applying; create and destroy one on
/// the same thread. Downloads outside any scope have no size limit.
class DownloadSizeLimit {
public:
  explicit DownloadSizeLimit(size_t maxBytes);
  ~DownloadSizeLimit();
  DownloadSizeLimit(const DownloadSizeLimit&) = delete;
  DownloadSizeLimit& operator=(const DownloadSizeLimit&) = delete;

  /// The limit of the calling thread's innermost scope; 0 (no limit) outside any scope.
  static size_t Current();

private:
  size_t maxBytes_;
  const DownloadSizeLimit* outer_;
};

}  // namespace tarnwick::feed
