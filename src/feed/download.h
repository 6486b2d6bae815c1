#pragma once

#include <string>

#include "feed/document_validators.h"
#include "feed/server_answer.h"
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

/// What became of a document fetch: the document is in the file, or the server said it has not
/// changed since the `conditional` validators (no file), or it failed for `errorText` (empty when
/// the failure was a stop). `validators` are the ones the document came with, `answer` what the
/// server said besides (its status, when to come back, a permanent move).
struct FetchResult {
  bool notModified = false;
  bool stopped = false;
  std::string errorText;
  DocumentValidators validators;
  ServerAnswer answer;
};

/// The two downloads of FreshFetch, showing nothing: DownloadUrlToFile, then the fresh fetch
/// when no file came of it and the server did not answer "not modified", nor asked to be left
/// alone (429 or 503 with "Retry-After"), nor said the document is gone (410). Any thread may
/// call it.
FetchResult FetchDocument(const std::string& url, const std::string& path, UrlOrigin origin,
                          const DocumentValidators& conditional);

/// Fetches `url` into `path` as the feed check does: an existing file is deleted first, then
/// FetchDocument; a failure is shown as
/// FetchUrlToFile shows it. The caller tests whether `path` exists; with `conditional`
/// validators, an unchanged document leaves no file and a result that says so.
FetchResult FreshFetch(const std::string& url, const std::string& path, UrlOrigin origin,
                       const DocumentValidators& conditional = {});

/// Removes `path` when it exists, so that a failed download cannot leave an old file behind.
void RemoveBeforeFetch(const std::string& path);

}  // namespace tarnwick::feed
