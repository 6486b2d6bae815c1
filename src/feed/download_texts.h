#pragma once

namespace tarnwick::feed {

/// The background download's message when the whole document arrived.
inline constexpr char kAllDataDownloaded[] = "All data downloaded successfully.";
/// The background download's message when the server said the document has not changed.
inline constexpr char kNotModified[] = "The feed has not changed since it was last downloaded.";
/// Starts the message when the local file cannot be created; the path and the system's reason follow.
inline constexpr char kCannotCreateFile[] = "Cannot create the file ";
/// Starts the message when the local file cannot be written; the path and the system's reason follow.
inline constexpr char kCannotWriteFile[] = "Cannot write the file ";
/// Starts the message when a link read from a feed is not http or https; the link follows.
inline constexpr char kLinkSchemeRefused[] = "Links in feeds are downloaded over http and https only: ";
/// Starts the message when a feed address is not http, https or file; the address follows.
inline constexpr char kAddressSchemeRefused[] = "Feeds are downloaded over http or https or from a file only: ";
/// Starts the message when a server redirects to a scheme other than http or https; the address follows.
inline constexpr char kRedirectRefused[] = "The server sent the download on to an address that is not http or https: ";
/// The message when a download grew past the size limit of its DownloadSizeLimit; the limit in
/// bytes stands between the two.
inline constexpr char kDownloadTooLargePrefix[] = "The download was given up: it is larger than ";
inline constexpr char kDownloadTooLargeSuffix[] = " bytes.";
/// Why a download ended early when its caller stopped it (the Stop button, or the module unloading).
inline constexpr char kDownloadStopped[] = "The download was stopped.";
/// Why a download failed when the server answered 401: it wants a user name and password.
inline constexpr char kNeedsLogin[] =
    "The feed needs a login: the server answered 401 (Unauthorized). Give its user name and password in "
    "your netrc file.";
/// Starts the message when the downloader itself cannot be set up (out of memory); libcurl's reason follows.
inline constexpr char kDownloaderUnavailable[] = "The downloader could not be started: ";

}  // namespace tarnwick::feed
