// Normalises arbitrary text as a link: the key of a key must be the key itself, so that a key
// computed from a stored key finds the same page.

#include "feed/link_key.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string key = tarnwick::feed::NormalizeLink(std::string_view(reinterpret_cast<const char*>(data), size));
  if (tarnwick::feed::NormalizeLink(key) != key) {
    std::fprintf(stderr, "link key: \"%s\" normalises to \"%s\"\n", key.c_str(),
                 tarnwick::feed::NormalizeLink(key).c_str());
    std::abort();
  }
  return 0;
}
