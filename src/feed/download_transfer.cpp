#include "feed/download_transfer.h"

#include <curl/curl.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <stop_token>

#include "feed/download_connections.h"
#include "feed/download_proxy.h"
#include "feed/download_size_limit.h"
#include "feed/download_stop_scope.h"
#include "feed/download_texts.h"
#include "platform/file_io.h"
#include "platform/file_system.h"
#include "platform/library_pin.h"
#include "platform/process.h"
#include "platform/text.h"

namespace tarnwick::feed {
namespace {

std::mutex& LimitsLock() {
  static std::mutex lock;
  return lock;
}

DownloadLimits& Limits() {
  static DownloadLimits limits;
  return limits;
}

// libcurl's global set-up must run once before any handle exists; call_once makes the first
// download of any thread do it. It is never torn down: workers may outlive every other user. So
// libcurl and the libraries under it (with their thread storage) stay loaded when the module that
// brought them in is unloaded.
CURLcode EnsureCurlReady() {
  static std::once_flag once;
  static CURLcode result = CURLE_OK;
  std::call_once(once, [] {
    result = curl_global_init(CURL_GLOBAL_DEFAULT);
    platform::KeepLibraryLoaded(reinterpret_cast<const void*>(&curl_global_init));
  });
  return result;
}

std::string FolderOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The body is written to a hidden file in the target's folder (so the final rename stays on one
// file system and is atomic) and becomes the target only through Commit. The file is made when the
// first bytes of the body arrive (or by Commit, for an empty body): an answer without a body, such
// as "not modified", makes and removes no file. Dropping an uncommitted part removes it, so a
// failed or cut-off transfer leaves nothing behind.
class PartFile {
public:
  explicit PartFile(const std::string& target) : target_(target) {}
  ~PartFile() {
    file_.Close();
    if (!committed_ && !path_.empty()) platform::RemoveFile(path_);
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  const std::string& Error() const { return error_; }

  bool Write(const char* bytes, size_t count) {
    if (!Create()) return false;
    written_ += count;
    if (maxBytes_ > 0 && written_ > maxBytes_) {
      error_ = kDownloadTooLargePrefix + std::to_string(maxBytes_) + kDownloadTooLargeSuffix;
      return false;
    }
    if (file_.WriteAll(std::string_view(bytes, count))) return true;
    error_ = kCannotWriteFile + target_ + ": " + platform::SystemErrorText(errno);
    return false;
  }

  bool Commit() {
    if (!Create()) return false;
    if (!file_.Close()) {
      error_ = kCannotWriteFile + target_ + ": " + platform::SystemErrorText(errno);
      return false;
    }
    if (!platform::RenameReplacing(path_, target_)) {
      error_ = kCannotCreateFile + target_ + ": " + platform::SystemErrorText(errno);
      return false;
    }
    committed_ = true;
    return true;
  }

private:
  // Makes the file unless it is open; false, with the reason, when it cannot be made.
  bool Create() {
    if (file_.IsOpen()) return true;
    static std::atomic<unsigned> counter{0};
    std::string folder = FolderOf(target_);
    for (int attempt = 0; attempt < 100 && !file_.IsOpen(); ++attempt) {
      path_ = folder + "/.tarnwick-" + std::to_string(platform::CurrentProcessId()) + "-" + std::to_string(counter++) +
              ".part";
      file_ = platform::File::Open(path_, platform::FileAccess::kWrite, platform::FileCreation::kCreateNew);
      if (!file_.IsOpen() && errno != EEXIST) break;
    }
    if (file_.IsOpen()) return true;
    path_.clear();
    error_ = kCannotCreateFile + target_ + ": " + platform::SystemErrorText(errno);
    return false;
  }

  std::string target_;
  std::string path_;
  std::string error_;
  platform::File file_;
  bool committed_ = false;
  size_t maxBytes_ = DownloadSizeLimit::Current();  // 0: no limit
  size_t written_ = 0;
};

size_t WriteBody(char* bytes, size_t size, size_t count, void* context) {
  auto* part = static_cast<PartFile*>(context);
  // Returning less than was handed over makes libcurl stop with a write error.
  return part->Write(bytes, size * count) ? size * count : 0;
}

constexpr long kMovedPermanentlyStatus = 301;
constexpr long kPermanentRedirectStatus = 308;

bool IsPermanentRedirect(long status) {
  return status == kMovedPermanentlyStatus || status == kPermanentRedirectStatus;
}

// The status code of a status line ("HTTP/1.1 301 Moved Permanently"); 0 when it has none.
long StatusOfLine(const std::string& line) {
  std::string::size_type blank = line.find(' ');
  return blank == std::string::npos ? 0 : std::strtol(line.c_str() + blank + 1, nullptr, 10);
}

// Collects what the answers say as their header lines arrive. Each answer on the way (a
// redirect's, say) starts with its status line and replaces what an earlier one said; the
// address permanent redirects lead to is noted as the request that follows them starts.
struct AnswerHeaders {
  CURL* curl = nullptr;
  DocumentValidators validators;
  ServerAnswer served;
  bool permanentSoFar = true;  // every answer before the current one was a permanent redirect

  void StartAnswer(long status) {
    if (permanentSoFar && IsPermanentRedirect(served.status)) {
      char* address = nullptr;
      if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &address) == CURLE_OK && address != nullptr) {
        served.movedTo = address;
      }
    } else if (served.status != 0) {
      permanentSoFar = false;
    }
    validators = {};
    served.status = status;
    served.retryAfter.clear();
    served.contentType.clear();
  }
};

std::string TrimmedValue(const std::string& line, std::string::size_type colon) {
  std::string::size_type start = line.find_first_not_of(" \t", colon + 1);
  std::string::size_type end = line.find_last_not_of(" \t\r\n");
  return start == std::string::npos || end < start ? std::string() : line.substr(start, end - start + 1);
}

bool NameIs(const std::string& line, std::string::size_type colon, const char* name) {
  return colon == std::char_traits<char>::length(name) &&
         platform::EqualsIgnoreCase(std::string_view(line).substr(0, colon), name);
}

size_t ReadHeaderLine(char* bytes, size_t size, size_t count, void* context) {
  auto* answer = static_cast<AnswerHeaders*>(context);
  const std::string line(bytes, size * count);
  if (line.rfind("HTTP/", 0) == 0) {
    answer->StartAnswer(StatusOfLine(line));
    return size * count;
  }
  std::string::size_type colon = line.find(':');
  if (colon == std::string::npos) return size * count;
  if (NameIs(line, colon, "ETag")) answer->validators.entityTag = TrimmedValue(line, colon);
  if (NameIs(line, colon, "Last-Modified")) answer->validators.lastModified = TrimmedValue(line, colon);
  if (NameIs(line, colon, "Retry-After")) answer->served.retryAfter = TrimmedValue(line, colon);
  if (NameIs(line, colon, "Content-Type")) answer->served.contentType = TrimmedValue(line, colon);
  return size * count;
}

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

// Everything a transfer needs set on its handle; the first option that fails decides the result.
CURLcode Configure(CURL* curl, const std::string& url, UrlOrigin origin, const DownloadLimits& limits,
                   curl_slist* headers, PartFile& part, AnswerHeaders& answer, char* errorBuffer) {
  CURLcode code = CURLE_OK;
  auto set = [&](CURLoption option, auto value) {
    if (code == CURLE_OK) code = curl_easy_setopt(curl, option, value);
  };
  set(CURLOPT_ERRORBUFFER, errorBuffer);
  set(CURLOPT_URL, url.c_str());
  set(CURLOPT_PROTOCOLS_STR, AllowedProtocols(origin));
  set(CURLOPT_REDIR_PROTOCOLS_STR, kRedirectProtocols);
  set(CURLOPT_DEFAULT_PROTOCOL, "http");
  set(CURLOPT_FOLLOWLOCATION, 1L);
  set(CURLOPT_MAXREDIRS, limits.maxRedirects);
  set(CURLOPT_ACCEPT_ENCODING, "");
  set(CURLOPT_USERAGENT, kUserAgent);
  set(CURLOPT_FAILONERROR, 1L);
  set(CURLOPT_NOSIGNAL, 1L);
  // Connections are kept alive between downloads and shared by all of them (RunSharedTransfer),
  // with their TLS sessions and DNS answers.
  set(CURLOPT_TCP_KEEPALIVE, 1L);
  if (CURLSH* share = DownloadShare()) set(CURLOPT_SHARE, share);
  set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
  set(CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
  set(CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
  // A server that trickles a byte now and then passes the low-speed rule; this bounds it.
  auto timeLimit = origin == UrlOrigin::kTypedByUser ? limits.documentTimeLimit : limits.pageTimeLimit;
  set(CURLOPT_TIMEOUT_MS, static_cast<long>(timeLimit.count()));
  set(CURLOPT_WRITEFUNCTION, &WriteBody);
  set(CURLOPT_WRITEDATA, static_cast<void*>(&part));
  set(CURLOPT_HEADERFUNCTION, &ReadHeaderLine);
  set(CURLOPT_HEADERDATA, static_cast<void*>(&answer));
  if (headers != nullptr) set(CURLOPT_HTTPHEADER, headers);
  // Without a proxy option libcurl takes http_proxy, https_proxy and no_proxy from the
  // environment, which is this platform's system proxy setting; "" turns every proxy off.
  const ProxySetting proxy = CurrentProxy();
  if (proxy.kind == ProxySetting::Kind::kNone) set(CURLOPT_PROXY, "");
  if (proxy.kind == ProxySetting::Kind::kGiven) set(CURLOPT_PROXY, proxy.url.c_str());
  // A feed behind a login finds its user name and password in the user's netrc file; basic and
  // digest authentication are offered, the first only as the server's answer asks for it.
  set(CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
  set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
  return code;
}

// The scheme libcurl reads in the URL (http for an address without one), lower case; empty
// when the URL cannot be read.
std::string SchemeOf(const std::string& url) {
  std::string scheme;
  CURLU* parts = curl_url();
  char* text = nullptr;
  if (parts != nullptr &&
      curl_url_set(parts, CURLUPART_URL, url.c_str(), CURLU_DEFAULT_SCHEME | CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
      curl_url_get(parts, CURLUPART_SCHEME, &text, 0) == CURLUE_OK) {
    scheme = text;
  }
  curl_free(text);
  curl_url_cleanup(parts);
  return scheme;
}

bool SchemeAllowed(const std::string& scheme, UrlOrigin origin) {
  return scheme == "http" || scheme == "https" || (scheme == "file" && origin == UrlOrigin::kTypedByUser);
}

// libcurl words a refused scheme and a refused redirect alike ("not supported or disabled"), so
// the user is told which of the two it was and where the download was sent.
std::string ErrorText(CURL* curl, CURLcode code, const char* errorBuffer, const std::string& url, UrlOrigin origin) {
  if (code == CURLE_UNSUPPORTED_PROTOCOL) {
    long redirects = 0;
    char* effective = nullptr;
    curl_easy_getinfo(curl, CURLINFO_REDIRECT_COUNT, &redirects);
    curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective);
    if (redirects > 0 && effective != nullptr && !SchemeAllowed(SchemeOf(effective), UrlOrigin::kFromFeedDocument)) {
      return kRedirectRefused + std::string(effective);
    }
    if (!SchemeAllowed(SchemeOf(url), origin)) {
      return (origin == UrlOrigin::kTypedByUser ? kAddressSchemeRefused : kLinkSchemeRefused) + url;
    }
  }
  if (code == CURLE_HTTP_RETURNED_ERROR) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status == kUnauthorizedStatus) return kNeedsLogin;
  }
  return errorBuffer[0] != '\0' ? std::string(errorBuffer) : std::string(curl_easy_strerror(code));
}

bool StopRequested() {
  const std::stop_token* stop = DownloadStopScope::Current();
  return stop != nullptr && stop->stop_requested();
}

// The request's extra header lines: the revalidation asked of caches and the validators that
// make it conditional. False when a line could not be added (out of memory).
bool AddRequestHeaders(HeaderList& headers, CacheUse cacheUse, const DocumentValidators& conditional) {
  auto add = [&headers](const std::string& line) {
    curl_slist* head = curl_slist_append(headers.get(), line.c_str());
    if (head == nullptr) return false;
    if (!headers) headers.reset(head);
    return true;
  };
  // Both forms: Cache-Control for HTTP/1.1 caches, Pragma for HTTP/1.0 ones.
  if (cacheUse == CacheUse::kRevalidate && !(add("Cache-Control: no-cache") && add("Pragma: no-cache"))) return false;
  if (!conditional.entityTag.empty() && !add("If-None-Match: " + conditional.entityTag)) return false;
  return conditional.lastModified.empty() || add("If-Modified-Since: " + conditional.lastModified);
}

TransferOutcome Failure(std::string errorText) {
  TransferOutcome outcome;
  outcome.errorText = std::move(errorText);
  return outcome;
}

TransferOutcome Stopped() {
  TransferOutcome outcome = Failure(kDownloadStopped);
  outcome.stopped = true;
  return outcome;
}

// A finished transfer: its document in place, or (`notModified`) none needed.
TransferOutcome Answered(bool notModified, DocumentValidators validators) {
  TransferOutcome outcome;
  outcome.ok = !notModified;
  outcome.notModified = notModified;
  outcome.validators = std::move(validators);
  return outcome;
}

// How the transfer that ended with `code` went, its document committed when it arrived whole.
TransferOutcome Outcome(CURL* curl, CURLcode code, const char* errorBuffer, const std::string& url, UrlOrigin origin,
                        const DocumentValidators& conditional, PartFile& part, AnswerHeaders& answer) {
  if (code == CURLE_WRITE_ERROR && !part.Error().empty()) return Failure(part.Error());
  if (code != CURLE_OK) return Failure(ErrorText(curl, code, errorBuffer, url, origin));
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  // Only an answer to a question asked counts as "not modified"; the uncommitted part goes.
  if (status == kNotModifiedStatus && !conditional.Empty()) return Answered(true, std::move(answer.validators));
  if (!part.Commit()) return Failure(part.Error());
  return Answered(false, std::move(answer.validators));
}

}  // namespace

DownloadLimits SetDownloadLimits(const DownloadLimits& limits) {
  std::lock_guard guard(LimitsLock());
  DownloadLimits previous = Limits();
  Limits() = limits;
  return previous;
}

DownloadLimits CurrentDownloadLimits() {
  std::lock_guard guard(LimitsLock());
  return Limits();
}

TransferOutcome TransferUrlToFile(const std::string& url, const std::string& path, UrlOrigin origin, CacheUse cacheUse,
                                  const DocumentValidators& conditional) {
  if (StopRequested()) return Stopped();
  CURLcode ready = EnsureCurlReady();
  if (ready != CURLE_OK) return Failure(kDownloaderUnavailable + std::string(curl_easy_strerror(ready)));
  EasyHandle curl(curl_easy_init());
  if (!curl) return Failure(kDownloaderUnavailable + std::string(curl_easy_strerror(CURLE_OUT_OF_MEMORY)));

  HeaderList headers;
  if (!AddRequestHeaders(headers, cacheUse, conditional))
    return Failure(kDownloaderUnavailable + std::string(curl_easy_strerror(CURLE_OUT_OF_MEMORY)));

  PartFile part(path);
  char errorBuffer[CURL_ERROR_SIZE] = {};
  AnswerHeaders answer;
  answer.curl = curl.get();
  CURLcode code = Configure(curl.get(), url, origin, CurrentDownloadLimits(), headers.get(), part, answer, errorBuffer);
  bool stopped = false;
  if (code == CURLE_OK) code = RunSharedTransfer(curl.get(), DownloadStopScope::Current(), stopped);
  if (stopped) return Stopped();
  TransferOutcome outcome = Outcome(curl.get(), code, errorBuffer, url, origin, conditional, part, answer);
  outcome.answer = std::move(answer.served);
  char* finalUrl = nullptr;
  if (curl_easy_getinfo(curl.get(), CURLINFO_EFFECTIVE_URL, &finalUrl) == CURLE_OK && finalUrl != nullptr) {
    outcome.answer.finalUrl = finalUrl;
  }
  return outcome;
}

}  // namespace tarnwick::feed
