// Fuzzes the host's reading of mailbox files and of the tables of contents beside them: the input
// is a mailbox file, optionally followed by a table (see host_mailbox_checks.h), put in the data
// folder of a store that lists, reads and moves its messages. Any broken invariant aborts, so the
// fuzzer reports it like a crash.

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_folder.h"
#include "host_mailbox_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = [] {
    std::string path = tarnwick::fuzz::FuzzFolder() + "/data";
    mkdir(path.c_str(), 0755);
    return path;
  }();
  const tarnwick::fuzz::MailboxFuzzInput input =
      tarnwick::fuzz::SplitMailboxFuzzInput(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string problem = tarnwick::fuzz::CheckHostMailboxInput(input, folder);
  if (!problem.empty()) {
    std::fprintf(stderr, "host mailbox: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
