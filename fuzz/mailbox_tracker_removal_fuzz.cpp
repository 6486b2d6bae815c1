// Rewrites arbitrary text as a stored body and arbitrary text as a link: a stored body rewritten
// again stays as it is (no picture left out can leave a new one behind), and a link without its
// tracking parameters keeps the link's key.

#include "feed/link_key.h"
#include "mailbox/tracker_removal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarnwick;
  static const mailbox::TrackingHosts trackers = mailbox::TrackingHosts::Parse("pixel.example\nt.co\n");
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string stored = mailbox::RemoveTrackers(input, trackers);
  if (mailbox::RemoveTrackers(stored, trackers) != stored) {
    std::fprintf(stderr, "stored body changes when rewritten again: \"%s\"\n", stored.c_str());
    std::abort();
  }
  const std::string stripped = feed::StripTrackingParameters(input);
  if (feed::NormalizeLink(stripped) != feed::NormalizeLink(input) ||
      feed::StripTrackingParameters(stripped) != stripped) {
    std::fprintf(stderr, "stripped link \"%s\" is not the link's key or not stable\n", stripped.c_str());
    std::abort();
  }
  return 0;
}
