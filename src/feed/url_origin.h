#pragma once

namespace tarnwick::feed {

/// Where a URL came from, which decides the schemes a download of it may use.
enum class UrlOrigin {
  kTypedByUser,      ///< a feed address the user entered: http, https and file
  kFromFeedDocument  ///< a link read out of a downloaded document: http and https only
};

/// The schemes a download may start with, as libcurl's comma-separated protocol list.
constexpr const char* AllowedProtocols(UrlOrigin origin) {
  return origin == UrlOrigin::kTypedByUser ? "http,https,file" : "http,https";
}

/// The schemes a redirect may lead to, whatever the origin: a web server never sends a
/// download to a local file.
inline constexpr char kRedirectProtocols[] = "http,https";

}  // namespace tarnwick::feed
