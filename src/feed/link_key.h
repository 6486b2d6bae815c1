#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace tarnwick::feed {

/// The form in which two links to the same page compare equal: http and https alike (the scheme
/// dropped; a link starting with "//" reads the same), the host in lower case, a default port
/// (80, 443) dropped, trailing slashes of the path dropped, tracking parameters ("utm_*",
/// "fbclid", "gclid" and their kin), blank parameters and the fragment dropped. Anything else is
/// kept as written. A key normalises to itself. Empty for an empty or blank link.
std::string NormalizeLink(std::string_view link);

/// `link` as written without its tracking parameters (those NormalizeLink drops); every other
/// parameter, their order, the fragment and the rest of the link stay as they are, and so does a
/// link that has none. Its NormalizeLink is the link's own.
std::string StripTrackingParameters(std::string_view link);

/// The second key by which an item is recognised in its newsbox: its normalised link. It knows
/// the links of the newsbox's messages and counts the links of the document being checked; a link
/// that two or more items of the document share (a feed that points every item at its home page)
/// is no key at all.
class LinkGuard {
public:
  /// Adds the links of the newsbox's messages (through AddDeliveredLink). Reading them costs a look
  /// at every message, so it is called only when an item is first asked about that needs them.
  using DeliveredLinkSource = std::function<void(LinkGuard&)>;

  /// Forgets the newsbox's links and the document's; the newsbox's come from `source` when needed.
  void Clear(DeliveredLinkSource source = {});
  /// Adds the link of a message already in the newsbox.
  void AddDeliveredLink(std::string_view link);
  /// Counts the link of one item of the document being checked.
  void CountDocumentLink(std::string_view link);
  /// True when the link is a key (not empty, not shared in the document) and a message of the
  /// newsbox has the same normalised link.
  bool AlreadyDelivered(std::string_view link);
  /// How many different links the newsbox's messages have (read from the source if not yet read).
  size_t DeliveredLinkCount();

private:
  void ReadDeliveredLinks();

  DeliveredLinkSource source_;
  std::unordered_set<std::string> delivered_;
  std::unordered_map<std::string, int> documentCounts_;
};

}  // namespace tarnwick::feed
