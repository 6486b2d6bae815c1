#pragma once

#include <curl/curl.h>

#include <stop_token>

namespace tarnwick::feed {

/// Runs the configured transfer `easy` to its end in the one multi handle that every download of
/// the process shares, so that downloads on any thread reuse each other's kept-alive connections,
/// TLS sessions and DNS answers. Whichever waiting thread finds the handle free drives all the
/// transfers in it; the others wait. Returns the transfer's result. With `stop` (not null), the
/// transfer ends as soon as the stop is requested: `stopped` is set, the result is
/// CURLE_ABORTED_BY_CALLBACK, and its connection is closed rather than kept, since its answer was
/// not read to the end; meanwhile the calling thread's waiting events are handled. `easy` is out
/// of the multi handle again when the call returns. Any thread may call it, several at once, and
/// again from an event handled meanwhile.
CURLcode RunSharedTransfer(CURL* easy, const std::stop_token* stop, bool& stopped);

/// The share object that a transfer's handle is given before RunSharedTransfer (TLS sessions and
/// DNS answers, locked for use from several threads); null when libcurl could not make one.
CURLSH* DownloadShare();

/// Closes the kept connections and forgets the shared TLS sessions and DNS answers, when no
/// transfer runs; the next download starts afresh. The module calls it when it is finished, so
/// that nothing of it outlives the module.
void CloseSharedConnections();

}  // namespace tarnwick::feed
