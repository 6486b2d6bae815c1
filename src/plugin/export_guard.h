#pragma once

#include "platform/symbol_export.h"

#include <cstdint>
#include <cstdio>
#include <exception>

/// Marks a function the host looks up by name: C linkage, visible outside the module.
#define TARNWICK_EXPORT TARNWICK_SYMBOL_EXPORT

namespace tarnwick::plugin {

/// Runs `body` for the exported function `entry` and returns its result; an exception becomes
/// `failure` and one line on standard error, so that nothing escapes into the host.
template <typename Body>
int32_t Guarded(const char* entry, int32_t failure, Body body) noexcept {
  try {
    return body();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", entry, error.what());
  } catch (...) {
    std::fprintf(stderr, "%s: unknown failure\n", entry);
  }
  return failure;
}

}  // namespace tarnwick::plugin
