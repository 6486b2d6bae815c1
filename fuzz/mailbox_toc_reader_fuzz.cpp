// Fuzzes the readers of the host's tables of contents and of message headers: the input is written
// as a table in a temporary folder and counted, then read as a header text, field by field and
// split at separators. Any broken invariant aborts, so the fuzzer reports it like a crash.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_folder.h"
#include "toc_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = tarnwick::fuzz::FuzzFolder() + "/Fuzz.toc";
  const std::string problem =
      tarnwick::fuzz::CheckTocReaderInput(std::string_view(reinterpret_cast<const char*>(data), size), path);
  if (!problem.empty()) {
    std::fprintf(stderr, "table of contents reader: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
