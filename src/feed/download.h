#pragma once

#include <string>

#include "feed/url_origin.h"

namespace tarnwick::feed {

/// The quiet download: fetches `url` into the file `path`, which is replaced only when the whole
/// body arrived (an answer of status 400 or more is a failure). Shows nothing; the caller judges
/// success by whether the file exists afterwards. Blocks until done, within the time limits of
/// TransferUrlToFile and the stop of a DownloadStopScope; any thread may call it.
void DownloadUrlToFile(const std::string& url, const std::string& path, UrlOrigin origin);

/// The fresh fetch: like DownloadUrlToFile, but every cache on the way is told to revalidate with
/// the origin server. True when the whole body is in `path`; on failure the reason is shown in a
/// message box captioned with the application's name, `path` is left as it was, and false returned.
/// A download stopped through a DownloadStopScope shows nothing.
bool FetchUrlToFile(const std::string& url, const std::string& path, UrlOrigin origin);

/// Fetches `url` into `path` as the feed check does: an existing file is deleted first (and, when
/// that worked and `pause` is set, 100 ms pass), then DownloadUrlToFile, then FetchUrlToFile when
/// no file came of it. The caller tests whether `path` exists.
void FreshFetch(const std::string& url, const std::string& path, bool pause, UrlOrigin origin);

}  // namespace tarnwick::feed
