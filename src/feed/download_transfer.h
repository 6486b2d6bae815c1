#pragma once

#include <chrono>
#include <string>

#include "feed/document_validators.h"
#include "feed/server_answer.h"
#include "feed/url_origin.h"

namespace tarnwick::feed {

/// How every request names the program to servers: its name and the version it was built as.
inline constexpr char kUserAgent[] = "Tarnwick/" TARNWICK_PROJECT_VERSION;

/// The longest a feed document's download may take, from start to last byte.
inline constexpr std::chrono::minutes kFeedDocumentTimeLimit{3};
/// The longest a web page's download (a link read from a feed or a message) may take.
inline constexpr std::chrono::minutes kPageTimeLimit{2};

/// The bounds every download runs within, so a dead, stalled or trickling server cannot hold a
/// caller forever.
struct DownloadLimits {
  std::chrono::milliseconds connectTimeout{30000};  ///< longest wait for the connection to open
  long lowSpeedBytesPerSecond = 1;                  ///< a transfer slower than this ...
  long lowSpeedSeconds = 60;                        ///< ... for this many seconds is given up
  long maxRedirects = 10;                           ///< redirects followed before giving up
  /// Whole downloads of addresses the user typed (feed documents) ...
  std::chrono::milliseconds documentTimeLimit{kFeedDocumentTimeLimit};
  /// ... and of links read from documents (web pages) end when they take longer than this.
  std::chrono::milliseconds pageTimeLimit{kPageTimeLimit};
};

/// Replaces the limits used by downloads started from now on (tests shorten them), from any
/// thread. Returns the limits it replaced.
DownloadLimits SetDownloadLimits(const DownloadLimits& limits);
/// The limits downloads currently start with.
DownloadLimits CurrentDownloadLimits();

/// Whether a download may be answered by a cache on the way or must come from the origin server.
enum class CacheUse { kAllowCached, kRevalidate };

/// What became of one download: `ok` when the whole body is in the target file, otherwise
/// `errorText` says why, in words for the user; `stopped` when that was the caller's own stop.
/// `notModified` when the server answered a conditional request with "not modified" (no file
/// written, `ok` false, no error). `validators` are those of the answer that ended the transfer;
/// `answer` what the server said besides (its status, when to come back, a permanent move).
struct [[nodiscard]] TransferOutcome {
  bool ok = false;
  std::string errorText;
  bool stopped = false;
  bool notModified = false;
  DocumentValidators validators;
  ServerAnswer answer;
};

/// Downloads `url` into the file `path`, following redirects and accepting compressed transfer.
/// The body goes to a temporary file beside `path` that replaces `path` only when the whole body
/// arrived; on any failure (an answer of status 400 or more included) `path` is left as it was.
/// Only the schemes allowed for `origin` are used, and redirects reach http and https only.
/// Every request carries kUserAgent; the environment's proxy settings apply. Blocks the
/// calling thread until done, at most for the time limit of the origin's kind of download, and
/// inside a DownloadStopScope only until its stop; any thread may call it, several at once.
/// Non-empty `conditional` validators make the request conditional (If-None-Match,
/// If-Modified-Since), so that an unchanged document costs no body.
TransferOutcome TransferUrlToFile(const std::string& url, const std::string& path, UrlOrigin origin, CacheUse cacheUse,
                                  const DocumentValidators& conditional = {});

}  // namespace tarnwick::feed
