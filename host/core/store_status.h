#pragma once

#include <string>

namespace tarnwick::host {

/// The outcome of a store operation: success, or a readable reason written where it failed.
struct [[nodiscard]] StoreStatus {
  bool ok = true;
  std::string errorText;

  /// Success.
  static StoreStatus Success() { return {}; }
  /// Failure with its reason.
  static StoreStatus Failure(std::string errorText) { return {false, std::move(errorText)}; }
};

}  // namespace tarnwick::host
