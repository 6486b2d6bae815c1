// Fuzzes the date parser: no input may crash it, and whatever it accepts must read back through
// every form the program writes dates in.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "date_parser_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem =
      tarnwick::fuzz::CheckDateParserInput(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "date parser: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
