// Every test program starts with TARNWICK_SOURCE_DIR (the repository) and TARNWICK_SHARED_DIR (the
// shared test material beside it) in its environment, unless they are set already, so tests find
// their data whether ctest or a developer runs them.
#include "support/environment.h"

namespace {

const bool kEnvironmentSet = [] {
  tarnwick::test::SetEnvironment("TARNWICK_SOURCE_DIR", TARNWICK_SOURCE_FOLDER, false);
  tarnwick::test::SetEnvironment("TARNWICK_SHARED_DIR", TARNWICK_SHARED_FOLDER, false);
  return true;
}();

}  // namespace
