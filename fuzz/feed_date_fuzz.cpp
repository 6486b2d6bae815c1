// Fuzzes the feed date conversions: no input may crash them or make them loop, and their results
// must keep the shapes the rest of the program relies on.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "feed_date_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem =
      tarnwick::fuzz::CheckFeedDateInput(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "feed dates: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
