#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::mailbox {

/// The file, beside the settings file, that lists the hosts whose pictures are trackers: one host
/// a line, "#" starting a comment. It is written with a short default list when missing.
inline constexpr char kTrackingHostsFileName[] = "tracking-hosts.txt";

/// Hosts whose pictures only tell a server that a message was read.
class TrackingHosts {
public:
  /// The list of `folder`'s tracking-hosts file, which is first written with the default list
  /// when it is missing; the default list when the folder is empty or the file cannot be read.
  static TrackingHosts ReadFrom(const std::string& folder);
  /// The hosts of the text (the file's format), in lower case.
  static TrackingHosts Parse(std::string_view text);

  /// True for a listed host and for every host under it ("ad.example.com" under "example.com").
  bool Contains(std::string_view host) const;

private:
  std::vector<std::string> hosts_;
};

/// The HTML `html` as it is stored: without its pictures of declared size 1×1 or 0×0 and its
/// pictures from a tracking host, and with the tracking parameters (see feed::NormalizeLink) taken
/// out of every "href" and "src" address. Everything else stays byte for byte, so a body with no
/// trackers comes back unchanged. Safe on any text; linear in its size.
std::string RemoveTrackers(std::string_view html, const TrackingHosts& trackers);

}  // namespace tarnwick::mailbox
