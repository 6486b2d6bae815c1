// Fuzzes the INI engine and the settings store on top of it: the input is a settings file (with
// optional operations after a 0x01 byte, see ini_check_helpers.h), written to a temporary folder and
// then read, written and pruned. Any broken invariant aborts, so the fuzzer reports it like a crash.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_folder.h"
#include "settings_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = tarnwick::fuzz::FuzzFolder() + "/settings.ini";
  const tarnwick::fuzz::IniFuzzInput input =
      tarnwick::fuzz::SplitIniFuzzInput(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string problem = tarnwick::fuzz::CheckSettingsInput(input, path);
  if (!problem.empty()) {
    std::fprintf(stderr, "settings: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
